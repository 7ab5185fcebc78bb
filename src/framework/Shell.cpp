#include "Shell.h"

namespace {

// From the system folder only, so a shell32.dll beside the exe is never taken. Windows 7
// without its 2011 loader update lacks that flag and refuses it; shell32 is one of the
// system's known libraries there, which the plain call takes from the system folder as well.
FARPROC GetShellProc(const char* pszName) {
    static HMODULE hShell = nullptr;
    if (hShell == nullptr)
        hShell = ::LoadLibraryExA("shell32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (hShell == nullptr && ::GetLastError() == ERROR_INVALID_PARAMETER)
        hShell = ::LoadLibraryA("shell32.dll");
    return hShell ? ::GetProcAddress(hShell, pszName) : nullptr;
}

template <class TProc> TProc ShellProc(const char* pszName) {
    return reinterpret_cast<TProc>(reinterpret_cast<void*>(GetShellProc(pszName)));
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
