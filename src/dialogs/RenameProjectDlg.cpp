#include "RenameProjectDlg.h"

#include "NameRules.h"

#include "main/ProjectFileScreen.h"

BEGIN_MESSAGE_MAP(CRenameProjectDlg, CCorrectionDlg)
    ON_EN_CHANGE(IDC_NEW_NAME, OnChangeName)
END_MESSAGE_MAP()

CRenameProjectDlg::CRenameProjectDlg(int nIndex, const CString& strName)
    : CCorrectionDlg(IDD, nIndex, strName) {}

void CRenameProjectDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NEW_NAME, m_editName);
}

BOOL CRenameProjectDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ShowEntry(m_editName, IDC_NEW_NAME, m_strName);
    return FALSE; // the focus is set
}

void CRenameProjectDlg::OnChangeName() {
    KeepNameShort(*this, IDC_NEW_NAME, m_editName);
}

// An unchanged name closes the dialog without writing; a refused name keeps it open.
void CRenameProjectDlg::OnOK() {
    CString strNewName;
    GetDlgItemText(IDC_NEW_NAME, strNewName);
    if (!CheckNameEntry(strNewName)) {
        m_editName.SetFocus();
        return;
    }
    if (strNewName == m_strName) {
        EndDialog(IDCANCEL);
        return;
    }
    bool bListStale = false;
    const bool bWritten = RenameProject(m_nIndex, m_strName, strNewName, bListStale);
    EndAfterChange(bWritten, bListStale);
}
