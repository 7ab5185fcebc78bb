#include "OverviewDlg.h"

#include "main/Accessibility.h"
#include "main/ClockDlg.h"
#include "projectfile/ProjectFileCalls.h"

namespace {
// In dialog template units from the list's left edge: the totals line up under "Time:".
const int kTimeColumn = 185;
} // namespace

BEGIN_MESSAGE_MAP(COverviewDlg, CDialog)
END_MESSAGE_MAP()

COverviewDlg::COverviewDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

void COverviewDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OVERVIEW_LIST, m_listOverview);
}

// Each row is the name, a tab and the total as stored; the list is read once, here.
BOOL COverviewDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The label before the list is "Time:", which names only its second column.
    SetAccessibleName(m_listOverview, L"Projects and their totals");
    m_listOverview.SetTabStops(kTimeColumn);
    LoadOverviewRows(m_listOverview);
    return TRUE;
}

// "Project time overview" on the main dialog: only while no count runs or is paused, and
// only when there is a project to show.
void CClockDlg::OnOverview() {
    if (!CanListProjects())
        return;
    COverviewDlg dlg;
    dlg.DoModal();
}
