#include "Shell.h"

namespace {

// From the system folder only, so a library of that name beside the exe is never taken.
// Windows 7 without its 2011 loader update lacks that flag and refuses it; the libraries loaded
// here are known libraries there, which the plain call takes from the system folder as well.
FARPROC GetSystemProc(const char* pszLibrary, const char* pszName) {
    HMODULE hLibrary = ::LoadLibraryExA(pszLibrary, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (hLibrary == nullptr && ::GetLastError() == ERROR_INVALID_PARAMETER)
        hLibrary = ::LoadLibraryA(pszLibrary);
    return hLibrary ? ::GetProcAddress(hLibrary, pszName) : nullptr;
}

template <class TProc> TProc SystemProc(const char* pszLibrary, const char* pszName) {
    return reinterpret_cast<TProc>(reinterpret_cast<void*>(GetSystemProc(pszLibrary, pszName)));
}

template <class TProc> TProc ShellProc(const char* pszName) {
    return SystemProc<TProc>("shell32.dll", pszName);
}

} // namespace

BOOL NotifyTrayIcon(DWORD nMessage, NOTIFYICONDATAA* pData) {
    using NotifyIconProc = BOOL(WINAPI*)(DWORD, NOTIFYICONDATAA*);
    static const NotifyIconProc pfnNotifyIcon = ShellProc<NotifyIconProc>("Shell_NotifyIconA");
    return pfnNotifyIcon ? pfnNotifyIcon(nMessage, pData) : FALSE;
}

void OpenInShell(const char* pszTarget) {
    using ExecuteProc =
        HINSTANCE(WINAPI*)(HWND, const char*, const char*, const char*, const char*, int);
    static const ExecuteProc pfnExecute = ShellProc<ExecuteProc>("ShellExecuteA");
    if (pfnExecute)
        pfnExecute(nullptr, "open", pszTarget, nullptr, nullptr, SW_SHOWNORMAL);
}

BOOL RegisterSessionNotification(HWND hWnd) {
    using RegisterProc = BOOL(WINAPI*)(HWND, DWORD);
    static const RegisterProc pfnRegister =
        SystemProc<RegisterProc>("wtsapi32.dll", "WTSRegisterSessionNotification");
    return pfnRegister ? pfnRegister(hWnd, 0 /* NOTIFY_FOR_THIS_SESSION */) : FALSE;
}

void UnregisterSessionNotification(HWND hWnd) {
    using UnregisterProc = BOOL(WINAPI*)(HWND);
    static const UnregisterProc pfnUnregister =
        SystemProc<UnregisterProc>("wtsapi32.dll", "WTSUnRegisterSessionNotification");
    if (pfnUnregister)
        pfnUnregister(hWnd);
}

void InitUpDownControls() {
    using InitProc = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    static const InitProc pfnInit = SystemProc<InitProc>("comctl32.dll", "InitCommonControlsEx");
    const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS};
    if (pfnInit)
        pfnInit(&controls);
}
