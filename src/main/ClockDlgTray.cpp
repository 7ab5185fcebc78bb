// "minimize" hides the main dialog behind a notification-area icon; releasing the left mouse
// button over the icon brings the dialog back. Counting goes on meanwhile.
#include "ClockDlg.h"

#include "framework/Shell.h"

#include "Version.h"

const UINT g_nTaskbarCreatedMessage = ::RegisterWindowMessageA("TaskbarCreated");

static const UINT kTrayIconId = 1;
// NOTIFYICON_VERSION_4 and NIF_SHOWTIP, which the headers name only for Vista builds.
static const UINT kNotifyIconVersion4 = 4;
static const UINT kNifShowTip = 0x80;

static NOTIFYICONDATAA MakeIconData(HWND hWnd) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE; // 88 bytes: the form every shell understands
    data.hWnd = hWnd;
    data.uID = kTrayIconId;
    return data;
}

// The paused face: the running face in grey, made from it at the size the area asks for, so it
// is sharp at every size the running face has, and costs no icon of its own in the program.
static HICON MakeGreyIcon(HICON hIcon) {
    ICONINFO info{};
    if (!hIcon || !::GetIconInfo(hIcon, &info))
        return hIcon;
    BITMAP bitmap{};
    ::GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    BITMAPINFO format{};
    BITMAPINFOHEADER& header = format.bmiHeader;
    header.biSize = sizeof header;
    header.biWidth = bitmap.bmWidth;
    header.biHeight = -bitmap.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = 32;
    const int nPixels = bitmap.bmWidth * bitmap.bmHeight;
    DWORD* pPixels = new DWORD[nPixels];
    HDC hdc = ::GetDC(nullptr);
    HICON hGrey = hIcon;
    if (::GetDIBits(hdc, info.hbmColor, 0, bitmap.bmHeight, pPixels, &format, DIB_RGB_COLORS)) {
        for (int i = 0; i < nPixels; ++i) {
            const DWORD c = pPixels[i];
            const DWORD y =
                (((c >> 16) & 0xFF) * 77 + ((c >> 8) & 0xFF) * 150 + (c & 0xFF) * 29) >> 8;
            pPixels[i] = (c & 0xFF000000) | (y << 16) | (y << 8) | y;
        }
        ::SetDIBits(hdc, info.hbmColor, 0, bitmap.bmHeight, pPixels, &format, DIB_RGB_COLORS);
        hGrey = ::CreateIconIndirect(&info);
    }
    ::ReleaseDC(nullptr, hdc);
    delete[] pPixels;
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return hGrey ? hGrey : hIcon;
}

// The face and the tip of the icon: the state of the count, and while there is one, the project
// and the run's time in hours and minutes (the tip follows the run once a minute).
void CClockDlg::DescribeCount(NOTIFYICONDATAA& data) {
    static const char* const kWords[] = {"", "running", "paused", "not saved"};
    const CountState state = GetState();
    const int64_t nRunSeconds = GetRunSeconds();
    m_nTipMinute = nRunSeconds / 60;
    // The notification area shows small icons at the system's DPI: 16 pixels at 96 DPI.
    const int nSize = ::GetSystemMetrics(SM_CXSMICON);
    const UINT nIcon = state == CountState::Stopped ? IDR_MAINFRAME : IDI_TRAY;
    data.hIcon = static_cast<HICON>(::LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(nIcon),
                                                 IMAGE_ICON, nSize, nSize, LR_SHARED));
    static HICON s_hGrey = nullptr;
    static int s_nGreySize = 0;
    if (state == CountState::Paused || state == CountState::Held) {
        if (!s_hGrey || s_nGreySize != nSize) {
            if (s_hGrey)
                ::DestroyIcon(s_hGrey);
            s_hGrey = MakeGreyIcon(data.hIcon);
            s_nGreySize = nSize;
        }
        data.hIcon = s_hGrey;
    }
    CString strTip(QUILLET_TITLE);
    if (state != CountState::Stopped)
        strTip.Format("%s: %s %02d:%02d", GetProjectName().c_str(), kWords[static_cast<int>(state)],
                      static_cast<int>(nRunSeconds / 3600),
                      static_cast<int>(nRunSeconds / 60 % 60));
    ::lstrcpynA(data.szTip, strTip, 64);
}

bool CClockDlg::AddTrayIcon() {
    NOTIFYICONDATAA data = MakeIconData(m_hWnd);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAY_NOTIFY;
    DescribeCount(data);
    // An icon the shell still holds (a "TaskbarCreated" from a shell that kept its icons)
    // refuses NIM_ADD; updating it leaves the same icon in place.
    if (!NotifyTrayIcon(NIM_ADD, &data) && !NotifyTrayIcon(NIM_MODIFY, &data))
        return false;
    DeclareIconVersion();
    return true;
}

// Only an icon that declares a version hears of keyboard selection (Win+B, the arrow keys,
// then Enter or Space) as NIN_KEYSELECT; otherwise the shell sends right-button messages.
// Version 4 needs Vista; older shells take version 3, which sends the same notifications.
// Version 4 shows the tip only when asked to (NIF_SHOWTIP), so the icon asks once more.
void CClockDlg::DeclareIconVersion() {
    NOTIFYICONDATAA data = MakeIconData(m_hWnd);
    data.cbSize = NOTIFYICONDATAA_V2_SIZE; // the first form with uVersion
    data.uVersion = kNotifyIconVersion4;
    if (NotifyTrayIcon(NIM_SETVERSION, &data)) {
        m_bTipNeedsShowTip = true;
        UpdateTrayIcon();
        return;
    }
    data.uVersion = NOTIFYICON_VERSION;
    NotifyTrayIcon(NIM_SETVERSION, &data);
}

// A change of state, or a new minute of the run: the icon shows it.
void CClockDlg::UpdateTrayIcon() {
    NOTIFYICONDATAA data = MakeIconData(m_hWnd);
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.uFlags = NIF_ICON | NIF_TIP | (m_bTipNeedsShowTip ? kNifShowTip : 0);
    DescribeCount(data);
    NotifyTrayIcon(NIM_MODIFY, &data);
}

// Shows the dialog again and removes the icon; the result tells whether the icon went away.
BOOL CClockDlg::RestoreFromTray() {
    NoteCommand();
    m_bInTray = false;
    if (!IsStopped())
        Refresh();
    ShowWindow(SW_SHOW);
    NOTIFYICONDATAA data = MakeIconData(m_hWnd);
    return NotifyTrayIcon(NIM_DELETE, &data);
}

// The dialog is hidden only when the shell took the icon; otherwise nothing could bring it back.
void CClockDlg::OnMinimize() {
    NoteCommand();
    if (m_bInTray || !AddTrayIcon())
        return;
    m_bInTray = true;
    ShowWindow(SW_HIDE);
}

// The event is the low word of lParam (version 4 puts the icon's id in the high word). The
// release of the left button and a selection by mouse or keyboard bring the dialog back; the
// shell may send a selection right after the release, which then finds the dialog shown.
LRESULT CClockDlg::OnTrayNotify(WPARAM wParam, LPARAM lParam) {
    (void)wParam;
    const UINT nEvent = LOWORD(lParam);
    const bool bRestore = nEvent == WM_LBUTTONUP || nEvent == NIN_SELECT || nEvent == NIN_KEYSELECT;
    if (!bRestore || !m_bInTray)
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
