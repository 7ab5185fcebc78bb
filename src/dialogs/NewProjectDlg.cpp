#include "NewProjectDlg.h"

#include "NameRules.h"

#include "main/ProjectFileScreen.h"

BEGIN_MESSAGE_MAP(CNewProjectDlg, CDialog)
    ON_EN_CHANGE(IDC_PROJECT_NAME, OnChangeName)
    ON_BN_CLICKED(IDC_ADD, OnAdd)
    ON_BN_CLICKED(IDC_NEW_CANCEL, OnCancelButton)
END_MESSAGE_MAP()

CNewProjectDlg::CNewProjectDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

void CNewProjectDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROJECT_NAME, m_editName);
}

void CNewProjectDlg::OnChangeName() {
    KeepNameShort(*this, IDC_PROJECT_NAME, m_editName);
}

// When the project file is missing, AppendProject has said so and the dialog stays open with
// the name.
void CNewProjectDlg::OnAdd() {
    CString strName;
    GetDlgItemText(IDC_PROJECT_NAME, strName);
    if (CheckNameEntry(strName) && AppendProject(strName))
        EndDialog(IDOK);
}

// Enter where no button has the focus, that is in the name field, adds the project as "add"
// does; closing without adding would look like success.
void CNewProjectDlg::OnOK() {
    OnAdd();
}

void CNewProjectDlg::OnCancelButton() {
    EndDialog(IDOK);
}
