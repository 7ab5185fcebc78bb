// The main dialog's side buttons and its "Settings..." item: each opens its dialog while the
// count's state allows, and brings the project box up to date after it.
#include "ClockDlg.h"

#include "dialogs/AboutDlg.h"
#include "dialogs/DeleteProjectDlg.h"
#include "dialogs/NewProjectDlg.h"
#include "dialogs/OverviewDlg.h"
#include "dialogs/SettingsDlg.h"

// "About" on the main dialog: opens while stopped or paused, not while a count runs.
void CClockDlg::OnAbout() {
    if (IsRunning())
        return;
    CAboutDlg dlg;
    dlg.DoModal();
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

// "Delete project" on the main dialog: only while no count runs or is paused, and only when
// there is a project to delete. The project box loses the entries the dialog deleted; it is read
// anew from the file only when the dialog had to read its own list again.
void CClockDlg::OnDeleteProject() {
    if (!CanListProjects())
        return;
    CDeleteProjectDlg dlg;
    dlg.DoModal();
    // A project box that was not what the dialog read at opening is read anew as well.
    if (dlg.m_bListReloaded || dlg.m_nOpeningCount != m_comboProject.GetCount()) {
        RefillProjectBox();
        return;
    }
    for (int nDeleted : dlg.m_deleted)
        m_comboProject.DeleteString(nDeleted);
    m_comboProject.SetCurSel(-1); // as after a refill: nothing selected
}

// "Project time overview" on the main dialog: only while no count runs or is paused, and
// only when there is a project to show. After a correction the project box shows the file's
// names, and the chosen project's total is read again.
void CClockDlg::OnOverview() {
    if (!CanListProjects())
        return;
    COverviewDlg dlg;
    dlg.DoModal();
    if (dlg.m_bFileChanged)
        RefillKeepingSelection();
}

// "Settings..." in the main dialog's system menu, while no count runs (the item is greyed
// then). The away check reads the limit from the file when it needs it.
void CClockDlg::OnSettings() {
    if (IsRunning())
        return;
    CSettingsDlg dlg;
    dlg.DoModal();
}
