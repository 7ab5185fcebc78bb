// What the dialogs with one entry field share: refusing an entry, and the base of the
// overview's two corrections ("Change total...", "Rename...").
#pragma once

#include "framework/Afx.h"

// Says why, and puts the caret back into the field with its text selected for retyping.
void RefuseEntry(CEdit& edit, const char* pszReason);

// A correction of the overview's project at nIndex: the project named at the top, one field
// that starts with its stored value, and the dialog's end once the project file has changed.
class CCorrectionDlg : public CDialog {
public:
    bool m_bReloadList = false; // the file was changed, or no longer matched the list

protected:
    CCorrectionDlg(UINT nIDTemplate, int nIndex, const CString& strName)
        : CDialog(nIDTemplate), m_nIndex(nIndex), m_strName(strName) {}

    // The field starts with strValue, selected, so typing replaces it and the arrow keys edit it.
    void ShowEntry(CEdit& edit, int nEditID, const CString& strValue);
    // After the project file was asked for the change: ends the dialog once it is written
    // (IDOK) or when the file no longer matches the list (IDCANCEL, and the overview reads it
    // again). A failed save, which the project file has reported, keeps the dialog open.
    void EndAfterChange(bool bWritten, bool bListStale);

    int m_nIndex;
    CString m_strName;
};
