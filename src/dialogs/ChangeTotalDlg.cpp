#include "ChangeTotalDlg.h"

#include "main/ProjectFileScreen.h"
#include "projectfile/ProjectFileFormat.h"

namespace {
const char* const kMsgBadTotal =
    "Please enter the total as HHH:MM:SS, for example 012:30:00: minutes and seconds from 00 to "
    "59, at most 999:59:59.";
} // namespace

BEGIN_MESSAGE_MAP(CChangeTotalDlg, CDialog)
END_MESSAGE_MAP()

CChangeTotalDlg::CChangeTotalDlg(int nIndex, const CString& strName, const CString& strTotal)
    : CDialog(IDD), m_nIndex(nIndex), m_strName(strName), m_strTotal(strTotal) {}

void CChangeTotalDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TOTAL_EDIT, m_editTotal);
}

// The field starts with the stored total, selected, so typing replaces it.
BOOL CChangeTotalDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_CORRECTION_PROJECT, m_strName);
    SetDlgItemText(IDC_TOTAL_EDIT, m_strTotal);
    m_editTotal.LimitText(12);
    m_editTotal.SetSel(0, -1);
    m_editTotal.SetFocus();
    return FALSE; // the focus is set
}

// Says why, and puts the caret back into the field with its text selected for retyping.
void CChangeTotalDlg::RefuseEntry(const char* pszReason) {
    AfxMessageBox(pszReason);
    m_editTotal.SetFocus();
    m_editTotal.SetSel(0, -1);
}

// A wrong entry is refused with the reason and the dialog stays; so does a failed save, which
// the project file has reported. A list that no longer matches the file ends the dialog, and
// the overview reads it again.
void CChangeTotalDlg::OnOK() {
    CString strEntry;
    GetDlgItemText(IDC_TOTAL_EDIT, strEntry);
    std::string strTotal;
    if (!ParseTotalEntry(strEntry.Str(), strTotal)) {
        RefuseEntry(kMsgBadTotal);
        return;
    }
    if (SetProjectTotal(m_nIndex, m_strName, CString(strTotal), m_bListStale)) {
        m_bChanged = true;
        EndDialog(IDOK);
    } else if (m_bListStale) {
        EndDialog(IDCANCEL);
    }
}
