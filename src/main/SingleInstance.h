// One copy of the program per project file: two copies would overwrite each other's totals.
#pragma once

#include <windows.h>

#include "framework/String.h"

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
    bool IsOtherCopyInThisSession() const;

    HANDLE m_hMutex = nullptr;
    HANDLE m_hSessionMark = nullptr;
    CString m_strKey;
};

// Records the main dialog's window, where a second copy finds it.
void PublishMainWindow(HWND hWnd);
