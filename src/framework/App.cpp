#include "App.h"

#include <cstring>

static CWinApp* g_pApp = nullptr;

CWinApp::CWinApp(const char* pszAppName) : m_strAppName(pszAppName) {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWnd* AfxGetMainWnd() {
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
    return g_pApp ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxFindResourceHandle(const char* pszName, const char* pszType) {
    (void)pszName;
    (void)pszType;
    return AfxGetInstanceHandle();
}

int AfxMessageBox(const char* pszText, UINT nType, UINT nIDHelp) {
    (void)nIDHelp;
    if ((nType & MB_ICONMASK) == 0)
        nType |= MB_ICONEXCLAMATION;
    HWND hOwner = nullptr;
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd && pMainWnd->m_hWnd)
        hOwner = ::GetLastActivePopup(pMainWnd->m_hWnd);
    const char* pszCaption = g_pApp ? static_cast<const char*>(g_pApp->m_strAppName) : "";
    return ::MessageBoxA(hOwner, pszText, pszCaption, nType);
}

// "C:\dir\Quillet.exe" gives "Quillet".
static CString GetModuleBaseName(HINSTANCE hInstance) {
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(hInstance, szPath, MAX_PATH);
    const char* pszName = std::strrchr(szPath, '\\');
    pszName = pszName ? pszName + 1 : szPath;
    std::string strName(pszName);
    size_t nDot = strName.rfind('.');
    if (nDot != std::string::npos)
        strName.erase(nDot);
    return CString(strName);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return 1;
    try {
        pApp->m_hInstance = hInstance;
        if (pApp->m_strAppName.IsEmpty())
            pApp->m_strAppName = GetModuleBaseName(hInstance);
        pApp->InitInstance();
    } catch (...) {
        ::FatalAppExitA(0, "Quillet ran out of memory.");
    }
    return 0;
}
