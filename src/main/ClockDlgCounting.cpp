// The main dialog's side of counting: the clock, the message wait and pump, the display, the
// project file, and the guards that keep a running or paused count from being lost.
#include "ClockDlg.h"

#include "projectfile/ProjectFileCalls.h"

static const char kMsgStopFirst[] = "Please stop counter first";
static const char kMsgLoseUnsaved[] = "The time counted could not be saved to the project file.\n\n"
                                      "Close Quillet anyway and lose that time?";
static const wchar_t kShutdownReason[] =
    L"Quillet could not save the time counted to its project file.";

// The dialog's keyboard handling comes first, as in the system's own modal loop, so Tab, the
// arrow keys and Space work while a count runs; Enter and Esc reach OnOK and OnCancel, which
// refuse while counting.
void PumpMessages(HWND hDialog) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (hDialog && ::IsDialogMessageA(hDialog, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Interrupt time without the time spent asleep or hibernating, in milliseconds.
int64_t CClockDlg::GetMonotonicMs() {
    ULONGLONG nUnbiased = 0;
    ::QueryUnbiasedInterruptTime(&nUnbiased);
    return static_cast<int64_t>(nUnbiased / 10000);
}

void CClockDlg::WaitForMessages(int64_t nTimeoutMs) {
    DWORD nTimeout = static_cast<DWORD>(nTimeoutMs > 0x7fffffff ? 0x7fffffff : nTimeoutMs);
    ::MsgWaitForMultipleObjectsEx(0, nullptr, nTimeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void CClockDlg::DispatchPendingMessages() {
    PumpMessages(m_hWnd);
}

void CClockDlg::ShowRunCounter(const char* pszText) {
    CString strShown;
    GetDlgItemText(IDC_TIME_DISPLAY, strShown);
    if (strShown != pszText)
        SetDlgItemText(IDC_TIME_DISPLAY, pszText);
}

int CClockDlg::GetSelectedProject(CString& strName) {
    int nSelected = m_comboProject.GetCurSel();
    m_comboProject.GetLBText(nSelected, strName);
    return nSelected;
}

bool CClockDlg::SaveProjectTotal(int& nProject, const CString& strName, const CString& strTotal,
                                 bool bQuiet) {
    return WriteProjectTotal(nProject, strName, strTotal, bQuiet) != FALSE;
}

// Another program moved the current project's record: the box shows the file's records again,
// on the current project at its new place.
void CClockDlg::SelectMovedProject() {
    LoadProjectNames(m_comboProject);
    m_comboProject.SetCurSel(m_nCurrentProject);
}

void CClockDlg::ShowMessage(const char* pszText) {
    AfxMessageBox(pszText);
}

// Closing would lose a running or paused count: the user must stop it first. A count whose save
// failed cannot be stopped until the cause is mended, so the user may choose to lose it; the
// count is then dropped, so the close that follows is not asked about again.
bool CClockDlg::RefuseWhileCounting() {
    if (m_bStopped)
        return false;
    if (!HoldsUnsavedCount()) {
        AfxMessageBox(kMsgStopFirst);
        return true;
    }
    if (AfxMessageBox(kMsgLoseUnsaved, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
        return true;
    DropUnsavedCount();
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

// Windows asks whether the session may end and waits for the answer: the one moment a failed
// save can still be told. A running or paused count is saved here; when that fails, the session
// end is refused with a reason that Windows shows beside our name, and the user chooses there.
BOOL CClockDlg::OnQueryEndSession() {
    if (SaveQuietly()) {
        ::ShutdownBlockReasonDestroy(m_hWnd);
        return TRUE;
    }
    ::ShutdownBlockReasonCreate(m_hWnd, kShutdownReason);
    return FALSE;
}

// The session ends: a running or paused count is saved as stop would. Windows does not wait
// for a message box now, so a failure is not shown; the count stays held, never shown as saved.
void CClockDlg::OnEndSession(BOOL bEnding) {
    if (bEnding)
        StopQuietly();
}
