// The calls of system libraries that few sessions need, each library loaded on the first use:
// the shell (the notification area, the web address), the session's lock notices (while a
// count runs) and the common controls (the settings dialog). Loading them at every start
// would slow it.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

BOOL AfxShellNotifyIcon(DWORD nMessage, NOTIFYICONDATAA* pData);
void AfxShellOpen(const char* pszTarget);
// WTSRegisterSessionNotification for this session, and its undoing.
BOOL RegisterSessionNotification(HWND hWnd);
void UnregisterSessionNotification(HWND hWnd);
// Registers the up-down control's window class.
void InitUpDownControls();
