// The calls of system libraries that few sessions need, each library loaded on the first use:
// the shell (the notification area, the web address), the session's lock notices (while a
// count runs) and the common controls (the settings dialog). Loading them at every start
// would slow it.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

// Shell_NotifyIconA: adds, changes or removes a notification-area icon.
BOOL NotifyTrayIcon(DWORD nMessage, NOTIFYICONDATAA* pData);
// ShellExecuteA's "open": the target in the program the user chose for it.
void OpenInShell(const char* pszTarget);
// WTSRegisterSessionNotification for this session, and its undoing.
BOOL RegisterSessionNotification(HWND hWnd);
void UnregisterSessionNotification(HWND hWnd);
// Registers the up-down control's window class.
void InitUpDownControls();
