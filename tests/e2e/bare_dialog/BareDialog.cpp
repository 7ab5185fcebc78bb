// The baseline of scripts/bench-*.sh: a dialog shaped like Quillet's main dialog, with the same
// manifest and the same kind of controls, that does the least a run counter must do: once a
// second, from a window timer, it writes the seconds since it started as HH:MM:SS into its
// static, also while hidden, in a large bold face as Quillet's run counter has. Its "minimize"
// button hides it (as Quillet hides in the notification area, without the icon). Whatever
// Quillet costs beyond this program is its own.
#include <windows.h>

namespace {

const int kBareDialog = 1;
const int kMinimize = 1003;
const int kTimeDisplay = 1009;
const UINT_PTR kTimer = 1;

ULONGLONG g_nStartMs = 0;
HFONT g_hFont = nullptr;

HFONT MakeFont(int nHeight) {
    LOGFONTA logFont = {};
    logFont.lfHeight = -nHeight;
    logFont.lfWeight = FW_BOLD;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfQuality = ANTIALIASED_QUALITY;
    logFont.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    lstrcpyA(logFont.lfFaceName, "Arial");
    return ::CreateFontIndirectA(&logFont);
}

// Bold Arial as high as the static, narrowed once so that "000:00:00" fits its width.
void SetDisplayFont(HWND hWnd) {
    const HWND hDisplay = ::GetDlgItem(hWnd, kTimeDisplay);
    RECT rect;
    ::GetClientRect(hDisplay, &rect);
    int nHeight = rect.bottom - rect.top;
    g_hFont = MakeFont(nHeight);
    const HDC hDC = ::GetDC(hDisplay);
    const HGDIOBJ hOld = ::SelectObject(hDC, g_hFont);
    SIZE size{};
    ::GetTextExtentPoint32A(hDC, "000:00:00", 9, &size);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(hDisplay, hDC);
    if (size.cx > rect.right - rect.left) {
        ::DeleteObject(g_hFont);
        nHeight = nHeight * (rect.right - rect.left) / size.cx;
        g_hFont = MakeFont(nHeight);
    }
    ::SendMessageA(hDisplay, WM_SETFONT, reinterpret_cast<WPARAM>(g_hFont), FALSE);
}

// The font is made at the first tick, so that the start of the program (measured by
// scripts/bench-startup.sh) stays that of a static dialog.
void ShowSeconds(HWND hWnd) {
    if (!g_hFont)
        SetDisplayFont(hWnd);
    const ULONGLONG nSeconds = (::GetTickCount64() - g_nStartMs) / 1000;
    char text[32];
    ::wsprintfA(text, "%02u:%02u:%02u", static_cast<unsigned>(nSeconds / 3600),
                static_cast<unsigned>(nSeconds / 60 % 60), static_cast<unsigned>(nSeconds % 60));
    ::SetDlgItemTextA(hWnd, kTimeDisplay, text);
}

INT_PTR CALLBACK BareDialogProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM) {
    switch (nMsg) {
    case WM_INITDIALOG:
        g_nStartMs = ::GetTickCount64();
        ::SetTimer(hWnd, kTimer, 1000, nullptr);
        return TRUE;
    case WM_TIMER:
        if (wParam == kTimer)
            ShowSeconds(hWnd);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == kMinimize)
            ::ShowWindow(hWnd, SW_HIDE);
        else if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            ::EndDialog(hWnd, 0);
        return TRUE;
    case WM_CLOSE:
        ::EndDialog(hWnd, 0);
        return TRUE;
    }
    return FALSE;
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    return static_cast<int>(
        ::DialogBoxParamA(hInstance, MAKEINTRESOURCEA(kBareDialog), nullptr, BareDialogProc, 0));
}
