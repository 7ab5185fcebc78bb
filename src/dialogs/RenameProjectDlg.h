// "Rename...": a new name for the project picked in the overview, with the create dialog's rules.
#pragma once

#include "framework/Afx.h"
#include "resource.h"

class CRenameProjectDlg : public CDialog {
public:
    CRenameProjectDlg(int nIndex, const CString& strName);

    enum { IDD = IDD_RENAME_PROJECT };

    CEdit m_editName;
    bool m_bChanged = false;   // the new name was written
    bool m_bListStale = false; // the file no longer matched the list; nothing was written

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    void OnChangeName();

private:
    int m_nIndex;
    CString m_strName;

    DECLARE_MESSAGE_MAP()
};
