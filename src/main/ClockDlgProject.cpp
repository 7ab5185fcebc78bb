// The project box: while a count runs or is paused it stays on the current project; while
// stopped, picking a project loads its stored total.
#include "ClockDlg.h"

#include "projectfile/ProjectFileCalls.h"

// Typing into the box is undone: it shows the current project's name again. When the current
// index names no item (a start refused for want of a selection, or a list refilled with fewer
// projects), the typed text is cleared instead, so the box never shows a name that is not
// in the list.
void CClockDlg::OnEditChangeProject() {
    CString strName;
    m_comboProject.GetLBText(m_nCurrentProject, strName);
    m_comboProject.SetWindowText(strName);
}

void CClockDlg::OnSelChangeProject() {
    if (!m_bStopped) {
        m_comboProject.SetCurSel(m_nCurrentProject);
        return;
    }
    int nSelected = m_comboProject.GetCurSel();
    if (nSelected == CB_ERR) {
        g_nTotalHours = g_nTotalMinutes = g_nTotalSeconds = 0;
        return;
    }
    int nHours = 0, nMinutes = 0, nSeconds = 0;
    if (ReadProjectTotal(nSelected, nHours, nMinutes, nSeconds)) {
        g_nTotalHours = nHours;
        g_nTotalMinutes = nMinutes;
        g_nTotalSeconds = nSeconds;
    }
}

void CClockDlg::OnDropDownProject() {
    if (!m_bStopped)
        m_comboProject.SetCurSel(m_nCurrentProject);
}
