#include "EntryDialogs.h"

#include "resource.h"

void RefuseEntry(CEdit& edit, const char* pszReason) {
    AfxMessageBox(pszReason);
    edit.SetFocus();
    edit.SetSel(0, -1);
}

void CCorrectionDlg::ShowEntry(CEdit& edit, int nEditID, const CString& strValue) {
    SetDlgItemText(IDC_CORRECTION_PROJECT, m_strName);
    SetDlgItemText(nEditID, strValue);
    edit.SetSel(0, -1);
    edit.SetFocus();
}

void CCorrectionDlg::EndAfterChange(bool bWritten, bool bListStale) {
    m_bReloadList = bWritten || bListStale;
    if (bWritten)
        EndDialog(IDOK);
    else if (bListStale)
        EndDialog(IDCANCEL);
}
