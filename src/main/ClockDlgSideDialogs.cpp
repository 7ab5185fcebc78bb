#include "ClockDlg.h"

void CClockDlg::OnOverview() {}
void CClockDlg::OnNewProject() {}
void CClockDlg::OnDeleteProject() {}
