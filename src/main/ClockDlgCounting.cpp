// The main dialog's side of counting: the clock, the message wait and pump, the display, the
// project file, and the guards that keep a running or paused count from being lost.
#include "ClockDlg.h"

#include "projectfile/ProjectFileCalls.h"

static const char kMsgStopFirst[] = "Please stop counter first";

void PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
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
    PumpMessages();
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

bool CClockDlg::SaveProjectTotal(int nProject, const CString& strTotal, bool bQuiet) {
    return WriteProjectTotal(nProject, strTotal, bQuiet) != FALSE;
}

void CClockDlg::ShowMessage(const char* pszText) {
    AfxMessageBox(pszText);
}

// Closing would lose a running or paused count: the user must stop it first.
bool CClockDlg::RefuseWhileCounting() {
    if (m_bStopped)
        return false;
    AfxMessageBox(kMsgStopFirst);
    return true;
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

BOOL CClockDlg::OnQueryEndSession() {
    return TRUE;
}

// Windows is logging off or shutting down: save a running or paused count as stop would.
void CClockDlg::OnEndSession(BOOL bEnding) {
    if (bEnding)
        StopQuietly();
}
