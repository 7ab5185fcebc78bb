// The shell's calls the program makes, with shell32 loaded on their first use. Only a session
// that hides in the notification area or opens the web address needs the shell, and loading
// shell32 with the libraries it brings would slow every start.
#pragma once

#include <windows.h>

#include <shellapi.h>

// Shell_NotifyIconA: adds, changes or removes a notification-area icon.
BOOL NotifyTrayIcon(DWORD nMessage, NOTIFYICONDATAA* pData);
// ShellExecuteA's "open": the target in the program the user chose for it.
void OpenInShell(const char* pszTarget);
