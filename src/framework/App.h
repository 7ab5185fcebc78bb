// CWinApp and the Afx helpers: the one application object, its main window and message boxes.
#pragma once

#include "Dialog.h"

#include <string>

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(const char* pszAppName = nullptr);
    ~CWinApp() override;

    // Runs the program; returning FALSE ends it at once.
    virtual BOOL InitInstance() { return FALSE; }

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    // The application's name: given to the constructor, else the executable's file name
    // without its extension. It captions every message box.
    CString m_strAppName;
};

CWinApp* AfxGetApp();
// The module's full file name however long it is, in the wide form that keeps every character.
std::wstring GetModuleFileNameLong(HINSTANCE hInstance);
// The program's own file name in UTF-8, as the paths of the files beside it are made from.
std::string GetExeFileNameUtf8();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
// A modal message box captioned with the application's name; the exclamation icon unless the
// type names another. Owned by the window in front of the main window, so it stays modal.
int AfxMessageBox(const char* pszText, UINT nType = MB_OK);
