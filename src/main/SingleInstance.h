// One copy of the program per project file: two copies would overwrite each other's totals.
#pragma once

#include <windows.h>

#include "framework/String.h"

// Posted to the first copy's main dialog when a second copy starts.
extern const UINT g_nActivateInstanceMessage;

class CSingleInstance {
public:
    ~CSingleInstance();
    // True when this is the only copy running on the project file.
    bool Claim(const CString& strProjectFilePath);
    // Asks the copy that holds the claim to bring its main dialog to the front.
    void ActivateOtherCopy() const;

private:
    HANDLE m_hMutex = nullptr;
    CString m_strKey;
};

// Records the main dialog's window, where a second copy finds it.
void PublishMainWindow(HWND hWnd);
