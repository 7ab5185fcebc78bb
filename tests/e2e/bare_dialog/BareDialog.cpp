// The baseline of scripts/bench-*.sh: a static dialog shaped like Quillet's main dialog, with
// the same manifest and the same kind of controls, and nothing behind them. Whatever Quillet
// costs beyond this program is Quillet's own.
#include <windows.h>

namespace {

const int kBareDialog = 1;

INT_PTR CALLBACK BareDialogProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM) {
    switch (nMsg) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
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
