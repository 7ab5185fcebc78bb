// The baseline of scripts/bench-*.sh: a dialog shaped like Quillet's main dialog, with the same
// manifest and the same kind of controls, that does the least a run counter must do: once a
// second, from a window timer, it writes the seconds since it started as HH:MM:SS into its
// static, also while hidden. Its "minimize" button hides it (as Quillet hides in the
// notification area, without the icon). Whatever Quillet costs beyond this program is its own.
#include <windows.h>

#include <cstdio>

namespace {

const int kBareDialog = 1;
const int kMinimize = 1003;
const int kTimeDisplay = 1009;
const UINT_PTR kTimer = 1;

ULONGLONG g_nStartMs = 0;

void ShowSeconds(HWND hWnd) {
    const ULONGLONG nSeconds = (::GetTickCount64() - g_nStartMs) / 1000;
    char text[32];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", static_cast<unsigned>(nSeconds / 3600),
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
