// The project box: while a count runs or is paused it stays on the current project; while
// stopped, picking a project loads its stored total.
#include "ClockDlg.h"

#include "ProjectFileScreen.h"

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
    if (IsStopped())
        LoadSelectedTotal();
}

void CClockDlg::OnSelChangeProject() {
    if (!IsStopped()) {
        m_comboProject.SetCurSel(m_nCurrentProject);
        return;
    }
    LoadSelectedTotal();
}

// The selected project's stored total is shown under the box; no selection shows none.
void CClockDlg::LoadSelectedTotal() {
    int nSelected = m_comboProject.GetCurSel();
    int nHours = 0, nMinutes = 0, nSeconds = 0;
    if (nSelected == CB_ERR || !ReadProjectTotal(nSelected, nHours, nMinutes, nSeconds)) {
        ShowTotalText(std::string());
        return;
    }
    ShowTotalText(FormatTotal(int64_t(nHours) * 3600 + nMinutes * 60 + nSeconds));
}

// The selected entry's text, and how many entries before it show the same text: which of the
// records of that name the user picked.
int CClockDlg::GetSelectedProject(std::string& strName, int& nOccurrence) {
    const int nSelected = m_comboProject.GetCurSel();
    CString strText;
    m_comboProject.GetLBText(nSelected, strText);
    strName = strText.Str();
    nOccurrence = 0;
    // The box's own search skips to the next entry of that name (it ignores case, so each find
    // is compared again); it wraps around at the end.
    for (int nFound = -1;;) {
        const int nNext = m_comboProject.FindStringExact(nFound, strText);
        if (nNext == CB_ERR || nNext <= nFound || nNext >= nSelected)
            break;
        CString strFound;
        m_comboProject.GetLBText(nNext, strFound);
        nOccurrence += strFound == strText ? 1 : 0;
        nFound = nNext;
    }
    return nSelected;
}

void CClockDlg::OnDropDownProject() {
    if (!IsStopped())
        m_comboProject.SetCurSel(m_nCurrentProject);
}

// The delete and overview dialogs open only while stopped, and only on a project file that
// holds projects; a missing or empty file is reported instead.
bool CClockDlg::CanListProjects() {
    if (!IsStopped())
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
