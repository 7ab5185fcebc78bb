// How a dialog follows the DPI of its monitor. The program declares per-monitor awareness, so
// Windows sends WM_DPICHANGED when a dialog moves to a monitor of another DPI. The framework
// scales the dialog itself, the same way on every Windows that sends the message, and asks the
// dialog manager of Windows 10 1703 and later not to scale it a second time.
#include "Dialog.h"

namespace {

typedef UINT(WINAPI* GetDpiForWindowFn)(HWND);
typedef BOOL(WINAPI* SetDialogDpiChangeBehaviorFn)(HWND, int, int);
const int kDdcDisableAll = 1; // DDC_DISABLE_ALL

// A user32 function that older Windows lacks, or null.
template <class Fn> Fn User32Function(const char* pszName) {
    FARPROC pfn = ::GetProcAddress(::GetModuleHandleA("user32.dll"), pszName);
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(pfn));
}

// The window's own DPI where the system keeps one per window (Windows 10 1607), else the
// screen's.
UINT WindowDpi(HWND hWnd) {
    auto pfnGetDpi = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    UINT nDpi = pfnGetDpi ? pfnGetDpi(hWnd) : 0;
    if (nDpi == 0) {
        HDC hDC = ::GetDC(nullptr);
        nDpi = static_cast<UINT>(::GetDeviceCaps(hDC, LOGPIXELSY));
        ::ReleaseDC(nullptr, hDC);
    }
    return nDpi ? nDpi : USER_DEFAULT_SCREEN_DPI;
}

// The control's rectangle in the dialog's client area. A drop-down combo box's window shows
// one line, while its size, as SetWindowPos takes it, includes the list.
RECT ControlRect(HWND hDlg, HWND hControl) {
    RECT rect;
    ::GetWindowRect(hControl, &rect);
    char szClass[16] = "";
    ::GetClassNameA(hControl, szClass, sizeof szClass);
    RECT rcDropped = {};
    if (lstrcmpiA(szClass, "ComboBox") == 0 &&
        ::SendMessageA(hControl, CB_GETDROPPEDCONTROLRECT, 0,
                       reinterpret_cast<LPARAM>(&rcDropped)) &&
        rcDropped.bottom - rcDropped.top > rect.bottom - rect.top)
        rect.bottom = rect.top + (rcDropped.bottom - rcDropped.top);
    ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace

void CDialog::TakeOverDpiScaling() {
    m_nDpi = WindowDpi(m_hWnd);
    auto pfnSetBehavior =
        User32Function<SetDialogDpiChangeBehaviorFn>("SetDialogDpiChangeBehavior");
    if (pfnSetBehavior)
        pfnSetBehavior(m_hWnd, kDdcDisableAll, kDdcDisableAll);
}

void CDialog::OnDpiChanged(UINT nDpi, const RECT* pSuggested) {
    if (nDpi == 0)
        return;
    if (pSuggested)
        ::SetWindowPos(m_hWnd, nullptr, pSuggested->left, pSuggested->top,
                       pSuggested->right - pSuggested->left, pSuggested->bottom - pSuggested->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    if (nDpi != m_nDpi)
        ScaleControls(m_nDpi, nDpi);
    m_nDpi = nDpi;
}

// Scales every control's place and size, edge by edge so that neighbours stay aligned, and
// gives them the dialog's font at the new size.
void CDialog::ScaleControls(UINT nFrom, UINT nTo) {
    const auto scale = [nFrom, nTo](LONG n) {
        return ::MulDiv(n, static_cast<int>(nTo), static_cast<int>(nFrom));
    };
    HFONT hFont = m_fontScaled ? static_cast<HFONT>(m_fontScaled)
                               : reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0));
    LOGFONTA logFont = {};
    bool bHaveFont = hFont && ::GetObjectA(hFont, sizeof logFont, &logFont) == sizeof logFont;
    if (bHaveFont) {
        logFont.lfHeight = scale(logFont.lfHeight);
        logFont.lfWidth = scale(logFont.lfWidth);
        bHaveFont = m_fontScaled.CreateFontIndirect(&logFont) != FALSE;
    }
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        const RECT rect = ControlRect(m_hWnd, hChild);
        if (bHaveFont)
            ::SendMessageA(hChild, WM_SETFONT, reinterpret_cast<WPARAM>(HFONT(m_fontScaled)), TRUE);
        ::SetWindowPos(hChild, nullptr, scale(rect.left), scale(rect.top),
                       scale(rect.right) - scale(rect.left), scale(rect.bottom) - scale(rect.top),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}
