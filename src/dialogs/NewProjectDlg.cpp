#include "NewProjectDlg.h"

#include "main/ClockDlg.h"
#include "projectfile/ProjectFileCalls.h"

namespace {

const int kMaxNameBytes = 30;
const char* const kMsgMaxLength = "Max 30 characters";
const char* const kMsgEnterName = "Please enter a name for your project";
const char* const kMsgOneLine = "A project name must be one line: please remove the line break";

// The longest start of strName that fits in nMaxBytes without splitting a double-byte
// character of the ANSI code page.
CString CutToCharacterBoundary(const CString& strName, int nMaxBytes) {
    const char* pszStart = strName;
    const char* psz = pszStart;
    while (*psz != '\0') {
        const char* pszNext = ::CharNextA(psz);
        if (pszNext - pszStart > nMaxBytes)
            break;
        psz = pszNext;
    }
    return strName.Left(static_cast<int>(psz - pszStart));
}

} // namespace

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

// Every change of the field, typed or pasted, keeps the name to 30 bytes. Putting the cut
// name back raises one more change, which finds it short enough, so the message shows once.
// The caret goes to the end, where the user was typing.
void CNewProjectDlg::OnChangeName() {
    CString strName;
    GetDlgItemText(IDC_PROJECT_NAME, strName);
    if (strName.GetLength() <= kMaxNameBytes)
        return;
    CString strCut = CutToCharacterBoundary(strName, kMaxNameBytes);
    SetDlgItemText(IDC_PROJECT_NAME, strCut);
    m_editName.SetSel(strCut.GetLength(), strCut.GetLength());
    AfxMessageBox(kMsgMaxLength);
}

// The name is stored as typed: blanks and names already in the list are accepted. A line break
// (pasted in) would split the record, so it is refused with the reason. When the project file
// is missing, AppendProject has said so and the dialog stays open with the name.
void CNewProjectDlg::OnAdd() {
    CString strName;
    GetDlgItemText(IDC_PROJECT_NAME, strName);
    if (strName.IsEmpty()) {
        AfxMessageBox(kMsgEnterName);
        return;
    }
    if (strName.Str().find_first_of("\r\n") != std::string::npos) {
        AfxMessageBox(kMsgOneLine);
        return;
    }
    if (AppendProject(strName))
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

// "Create new project" on the main dialog: only while no count runs or is paused. The dialog
// reports a missing project file itself when "add" is pressed.
void CClockDlg::OnNewProject() {
    if (!IsStopped())
        return;
    CNewProjectDlg dlg;
    dlg.DoModal();
    RefillProjectBox();
}
