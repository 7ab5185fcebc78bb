// One copy of the program per project file on this computer, also across users and sessions;
// a second one brings the first to the front. CLockFile keeps copies on other computers off.
#pragma once

#include <windows.h>

#include "framework/String.h"

#include <vector>

// Posted to the first copy's main dialog when a second copy starts.
extern const UINT g_nActivateInstanceMessage;

class CSingleInstance {
public:
    ~CSingleInstance();
    // True when this is the only copy running on the project file (path in UTF-8), however the
    // path is spelled and whichever Windows user or session started the other copy.
    bool Claim(const CString& strProjectFilePath);
    // Brings the copy that holds the claim to the front, or, when it runs in another Windows
    // session, tells the user so.
    void ActivateOtherCopy() const;

private:
    bool TakeLock(const CString& strKey);
    bool IsOtherCopyInThisSession() const;

    std::vector<HANDLE> m_handles; // the locks taken and the session marks
    CString m_strHeldKey;          // the key another copy holds
};

// Records the main dialog's window, where a second copy finds it.
void PublishMainWindow(HWND hWnd);
