// The project box: while a count runs or is paused it stays on the current project; while
// stopped, picking a project loads its stored total.
#include "ClockDlg.h"

#include "projectfile/ProjectFileCalls.h"

// Typing into the box is undone: the current project is selected again, which shows its name.
// While stopped its stored total is loaded as well, so that the box and the total in memory
// never name different projects when "start" is pressed. When the current index names no item
// (a start refused for want of a selection, or a list refilled with fewer projects), the field
// is cleared instead, so it never shows a name that is not in the list.
void CClockDlg::OnEditChangeProject() {
    if (m_nCurrentProject < 0 || m_nCurrentProject >= m_comboProject.GetCount()) {
        m_comboProject.SetCurSel(-1);
        m_comboProject.SetWindowText("");
        return;
    }
    m_comboProject.SetCurSel(m_nCurrentProject);
    if (m_bStopped)
        LoadSelectedTotal();
}

void CClockDlg::OnSelChangeProject() {
    if (!m_bStopped) {
        m_comboProject.SetCurSel(m_nCurrentProject);
        return;
    }
    LoadSelectedTotal();
}

// The selected project's stored total becomes the total in memory; no selection means 0.
void CClockDlg::LoadSelectedTotal() {
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

// The delete and overview dialogs open only while stopped, and only on a project file that
// holds projects; a missing or empty file is reported instead.
bool CClockDlg::CanListProjects() {
    if (!m_bStopped)
        return false;
    ProjectFileState state = GetProjectFileState();
    if (state != ProjectFileState::NonEmpty) {
        AfxMessageBox(state == ProjectFileState::Missing ? kMsgErrorReading : kMsgNoProject);
        return false;
    }
    return true;
}

// After a correction in the overview: the list anew, with the same entry selected and its total
// read again, so that a count started next goes on from the corrected total.
void CClockDlg::RefillKeepingSelection() {
    const int nSelected = m_comboProject.GetCurSel();
    LoadProjectNames(m_comboProject);
    m_comboProject.SetCurSel(nSelected < m_comboProject.GetCount() ? nSelected : -1);
    LoadSelectedTotal();
}

// After the create or delete dialog: the list anew from the file, with nothing selected (which
// also clears the name a former choice left in the field).
void CClockDlg::RefillProjectBox() {
    LoadProjectNames(m_comboProject);
    m_comboProject.SetCurSel(-1);
}
