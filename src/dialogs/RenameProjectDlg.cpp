#include "RenameProjectDlg.h"

#include "NameRules.h"

#include "main/ProjectFileScreen.h"

BEGIN_MESSAGE_MAP(CRenameProjectDlg, CDialog)
    ON_EN_CHANGE(IDC_NEW_NAME, OnChangeName)
END_MESSAGE_MAP()

CRenameProjectDlg::CRenameProjectDlg(int nIndex, const CString& strName)
    : CDialog(IDD), m_nIndex(nIndex), m_strName(strName) {}

void CRenameProjectDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NEW_NAME, m_editName);
}

// The field starts with the current name, selected, so typing replaces it and the arrow keys
// edit it.
BOOL CRenameProjectDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_CORRECTION_PROJECT, m_strName);
    SetDlgItemText(IDC_NEW_NAME, m_strName);
    m_editName.SetSel(0, -1);
    m_editName.SetFocus();
    return FALSE; // the focus is set
}

void CRenameProjectDlg::OnChangeName() {
    KeepNameShort(*this, IDC_NEW_NAME, m_editName);
}

// An unchanged name closes the dialog without writing. A refused name or a failed save keeps
// it open; a list that no longer matches the file ends it, and the overview reads it again.
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
    if (RenameProject(m_nIndex, m_strName, strNewName, m_bListStale)) {
        m_bChanged = true;
        EndDialog(IDOK);
    } else if (m_bListStale) {
        EndDialog(IDCANCEL);
    }
}
