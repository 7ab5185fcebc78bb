// "minimize" hides the main dialog behind a notification-area icon; releasing the left mouse
// button over the icon brings the dialog back. Counting goes on meanwhile.
#include "ClockDlg.h"

#include <shellapi.h>

const UINT g_nTaskbarCreatedMessage = ::RegisterWindowMessageA("TaskbarCreated");

static const UINT kTrayIconId = 1;

static NOTIFYICONDATAA MakeIconData(HWND hWnd) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE; // 88 bytes: the form every shell understands
    data.hWnd = hWnd;
    data.uID = kTrayIconId;
    return data;
}

bool CClockDlg::AddTrayIcon() {
    NOTIFYICONDATAA data = MakeIconData(m_hWnd);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAY_NOTIFY;
    data.hIcon = static_cast<HICON>(::LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDI_TRAY),
                                                 IMAGE_ICON, 16, 16, LR_SHARED));
    ::lstrcpynA(data.szTip, "Quillet 1.0", 64);
    // An icon the shell still holds (a "TaskbarCreated" from a shell that kept its icons)
    // refuses NIM_ADD; updating it leaves the same icon in place.
    return ::Shell_NotifyIconA(NIM_ADD, &data) || ::Shell_NotifyIconA(NIM_MODIFY, &data);
}

// Shows the dialog again and removes the icon; the result tells whether the icon went away.
BOOL CClockDlg::RestoreFromTray() {
    ShowWindow(SW_SHOW);
    m_bInTray = false;
    NOTIFYICONDATAA data = MakeIconData(m_hWnd);
    return ::Shell_NotifyIconA(NIM_DELETE, &data);
}

// The dialog is hidden only when the shell took the icon; otherwise nothing could bring it back.
void CClockDlg::OnMinimize() {
    if (m_bInTray || !AddTrayIcon())
        return;
    m_bInTray = true;
    ShowWindow(SW_HIDE);
}

LRESULT CClockDlg::OnTrayNotify(WPARAM wParam, LPARAM lParam) {
    (void)wParam;
    if (lParam != WM_LBUTTONUP || !m_bInTray)
        return 0;
    return RestoreFromTray();
}

// Explorer restarted and lost every icon: put ours back while the dialog hides behind it.
LRESULT CClockDlg::OnTaskbarCreated(WPARAM, LPARAM) {
    if (m_bInTray && !AddTrayIcon()) {
        ShowWindow(SW_SHOW);
        m_bInTray = false;
    }
    return 0;
}
