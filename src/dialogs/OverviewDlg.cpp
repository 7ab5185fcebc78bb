#include "OverviewDlg.h"

#include "ChangeTotalDlg.h"
#include "RenameProjectDlg.h"

#include "framework/Accessibility.h"
#include "main/ProjectFileScreen.h"

namespace {
// In dialog template units from the list's left edge: the totals line up under "Time:".
const int kTimeColumn = 185;
} // namespace

BEGIN_MESSAGE_MAP(COverviewDlg, CDialog)
    ON_BN_CLICKED(IDC_CHANGE_TOTAL, OnChangeTotal)
    ON_BN_CLICKED(IDC_RENAME, OnRename)
END_MESSAGE_MAP()

COverviewDlg::COverviewDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

void COverviewDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OVERVIEW_LIST, m_listOverview);
}

// Each row is the name, a tab and the total as stored; the list is read here and after each
// correction.
BOOL COverviewDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The label before the list is "Time:", which names only its second column.
    SetAccessibleName(m_listOverview, L"Projects and their totals");
    m_listOverview.SetTabStops(kTimeColumn);
    LoadOverviewRows(m_listOverview, &m_names);
    return TRUE;
}

// The row the user picked; without one, says what to do.
bool COverviewDlg::GetChosenRow(int& nRow) {
    nRow = m_listOverview.GetCurSel();
    if (nRow == LB_ERR || nRow >= static_cast<int>(m_names.size())) {
        AfxMessageBox(kMsgChooseProject);
        return false;
    }
    return true;
}

// The rows anew from the file, with row nSelect picked again where there still is one.
void COverviewDlg::ReloadRows(int nSelect) {
    m_bFileChanged = true;
    m_listOverview.ResetContent();
    m_names.clear();
    LoadOverviewRows(m_listOverview, &m_names);
    m_listOverview.SetCurSel(nSelect < static_cast<int>(m_names.size()) ? nSelect : -1);
    m_listOverview.SetFocus();
}

void COverviewDlg::OnChangeTotal() {
    int nRow = 0;
    if (!GetChosenRow(nRow))
        return;
    CString strRow;
    m_listOverview.GetText(nRow, strRow);
    const std::string& strName = m_names[nRow];
    CChangeTotalDlg dlg(nRow, CString(strName), CString(strRow.Str().substr(strName.size() + 1)));
    dlg.DoModal();
    if (dlg.m_bReloadList)
        ReloadRows(nRow);
}

void COverviewDlg::OnRename() {
    int nRow = 0;
    if (!GetChosenRow(nRow))
        return;
    CRenameProjectDlg dlg(nRow, CString(m_names[nRow]));
    dlg.DoModal();
    if (dlg.m_bReloadList)
        ReloadRows(nRow);
}
