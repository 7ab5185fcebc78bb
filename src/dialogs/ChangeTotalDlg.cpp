#include "ChangeTotalDlg.h"

#include "main/ProjectFileScreen.h"
#include "projectfile/ProjectFileFormat.h"

namespace {
const char* const kMsgBadTotal =
    "Please enter the total as HHH:MM:SS, for example 012:30:00: minutes and seconds from 00 to "
    "59, at most 999:59:59.";
} // namespace

BEGIN_MESSAGE_MAP(CChangeTotalDlg, CCorrectionDlg)
END_MESSAGE_MAP()

CChangeTotalDlg::CChangeTotalDlg(int nIndex, const CString& strName, const CString& strTotal)
    : CCorrectionDlg(IDD, nIndex, strName), m_strTotal(strTotal) {}

void CChangeTotalDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TOTAL_EDIT, m_editTotal);
}

BOOL CChangeTotalDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_editTotal.LimitText(12);
    ShowEntry(m_editTotal, IDC_TOTAL_EDIT, m_strTotal);
    return FALSE; // the focus is set
}

// A wrong entry is refused with the reason and the dialog stays.
void CChangeTotalDlg::OnOK() {
    CString strEntry;
    GetDlgItemText(IDC_TOTAL_EDIT, strEntry);
    std::string strTotal;
    if (!ParseTotalEntry(strEntry.Str(), strTotal)) {
        RefuseEntry(m_editTotal, kMsgBadTotal);
        return;
    }
    bool bListStale = false;
    const bool bWritten = SetProjectTotal(m_nIndex, m_strName, CString(strTotal), bListStale);
    EndAfterChange(bWritten, bListStale);
}
