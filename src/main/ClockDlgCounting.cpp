// The main dialog's side of counting: the clock and the timer, the display, the project file,
// the guards that keep a running or held count from being lost, session end and sleep.
#include "ClockDlg.h"

#include "ProjectFileScreen.h"

static const UINT_PTR kTickTimer = 1;
static const char kMsgStopFirst[] = "Please stop counter first";
static const char kMsgLoseUnsaved[] = "The time counted could not be saved to the project file.\n\n"
                                      "Close Quillet anyway and lose that time?";
static const wchar_t kShutdownReason[] =
    L"Quillet has counted time that is not saved to its project file yet.";

// Interrupt time without the time spent asleep or hibernating, in milliseconds.
int64_t CClockDlg::GetMonotonicMs() {
    ULONGLONG nUnbiased = 0;
    ::QueryUnbiasedInterruptTime(&nUnbiased);
    return static_cast<int64_t>(nUnbiased / 10000);
}

void CClockDlg::ScheduleTick(int64_t nDelayMs) {
    if (nDelayMs < 0) {
        ::KillTimer(m_hWnd, kTickTimer);
        return;
    }
    const UINT nDelay = static_cast<UINT>(nDelayMs < USER_TIMER_MINIMUM ? USER_TIMER_MINIMUM
                                          : nDelayMs > 60000            ? 60000
                                                                        : nDelayMs);
    ::SetTimer(m_hWnd, kTickTimer, nDelay, nullptr);
}

// Every modal loop (a message box, a menu, moving the window) dispatches the timer too.
void CClockDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kTickTimer)
        OnTick();
}

// Hidden in the notification area nothing is drawn; the icon's tip follows the run once a
// minute.
// A static is given a text only when it changes, so an unchanged one is not drawn again.
static void SetChangedText(CWnd& control, const std::string& strText) {
    CString strShown;
    control.GetWindowText(strShown);
    if (strShown.Str() != strText)
        control.SetWindowText(strText.c_str());
}

void CClockDlg::ShowCount(const std::string& strRun, const std::string& strTotal) {
    if (m_bInTray) {
        if (GetRunSeconds() / 60 != m_nTipMinute)
            UpdateTrayIcon();
        return;
    }
    SetChangedText(m_staticTime, strRun);
    ShowTotalText(strTotal);
}

void CClockDlg::ShowTotalText(const std::string& strTotal) {
    SetChangedText(m_staticTotal, strTotal.empty() ? std::string() : "Total: " + strTotal);
}

bool CClockDlg::ReadCountedTotal(CountedRecord& record, int64_t& nTotal) {
    bool bListStale = false;
    if (::ReadCountedTotal(record, nTotal, bListStale))
        return true;
    if (bListStale)
        RefillProjectBox();
    return false;
}

bool CClockDlg::AddToTotal(CountedRecord& record, int64_t nSeconds, bool bFlush,
                           TotalUpdate& update, std::string& strError) {
    return ::AddToProjectTotal(record, nSeconds, bFlush, update, strError) != FALSE;
}

// Another program moved the counted project's record: the box shows the file's records again,
// on the counted project at its new place.
void CClockDlg::SelectMovedProject() {
    LoadProjectNames(m_comboProject);
    m_comboProject.SetCurSel(m_nCurrentProject);
}

void CClockDlg::ShowMessage(const char* pszText) {
    AfxMessageBox(pszText);
}

void CClockDlg::OnCountChanged() {
    WatchSessionLock();
    UpdateButtons();
    UpdateSaveStatus();
    if (m_bInTray)
        UpdateTrayIcon();
}

// A failed save is told under the run counter and tried again; Windows learns of it at once,
// so that a shutdown also names it while the dialog hides in the notification area.
void CClockDlg::UpdateSaveStatus() {
    if (!IsSaveFailing() || IsStopped()) {
        m_staticSaveStatus.SetWindowText("");
        ::ShutdownBlockReasonDestroy(m_hWnd);
        return;
    }
    CString strStatus;
    strStatus.Format("Not saved since %s, trying again",
                     FormatClockAgo(GetMsSinceSaved()).Str().c_str());
    m_staticSaveStatus.SetWindowText(strStatus);
    ::ShutdownBlockReasonCreate(m_hWnd, kShutdownReason);
}

// Closing would lose a running or paused count: the user must stop it first. A stop whose save
// failed cannot end until the cause is mended, so the user may choose to lose it.
bool CClockDlg::RefuseWhileCounting() {
    if (IsStopped())
        return false;
    if (GetState() != CountState::Held) {
        AfxMessageBox(kMsgStopFirst);
        return true;
    }
    if (AfxMessageBox(kMsgLoseUnsaved, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
        return true;
    DropHeldRun();
    return false;
}

void CClockDlg::OnClose() {
    if (!RefuseWhileCounting())
        CDialog::OnClose();
}

// Enter and Esc end the dialog like the close box, and are refused like it.
void CClockDlg::OnOK() {
    if (!RefuseWhileCounting())
        CDialog::OnOK();
}

void CClockDlg::OnCancel() {
    if (!RefuseWhileCounting())
        CDialog::OnCancel();
}

// Windows asks whether the session may end: the time counted is saved now. When that fails the
// end is refused, with the reason registered at the first failure.
BOOL CClockDlg::OnQueryEndSession() {
    return SaveNow() ? TRUE : FALSE;
}

// The session ends: a count is saved as stop would. Windows does not wait for a message box
// now, so a failure is not shown; the run stays held, never shown as saved.
void CClockDlg::OnEndSession(BOOL bEnding) {
    if (bEnding)
        StopQuietly();
}

// Before the computer sleeps what is counted is saved and flushed: a battery that runs out
// while asleep costs nothing.
LRESULT CClockDlg::OnPowerBroadcast(WPARAM wParam, LPARAM) {
    if (wParam == PBT_APMSUSPEND)
        SaveNow();
    return TRUE;
}
