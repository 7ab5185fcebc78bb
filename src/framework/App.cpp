#include "App.h"
#include "WidePath.h"

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

std::string GetExeFileNameUtf8() {
    return ToUtf8(GetModuleFileNameLong(AfxGetInstanceHandle()));
}

int AfxMessageBox(const char* pszText, UINT nType) {
    if ((nType & MB_ICONMASK) == 0)
        nType |= MB_ICONEXCLAMATION;
    HWND hOwner = nullptr;
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd && pMainWnd->m_hWnd)
        hOwner = ::GetLastActivePopup(pMainWnd->m_hWnd);
    const char* pszCaption = g_pApp ? static_cast<const char*>(g_pApp->m_strAppName) : "";
    return ::MessageBoxA(hOwner, pszText, pszCaption, nType);
}

// A name cut to the buffer comes back without its terminator, so the buffer grows until the
// whole name fits (32768 characters is the longest path there is).
std::wstring GetModuleFileNameLong(HINSTANCE hInstance) {
    std::wstring strPath(MAX_PATH, L'\0');
    for (;;) {
        const DWORD nLength =
            ::GetModuleFileNameW(hInstance, &strPath[0], static_cast<DWORD>(strPath.size()));
        if (nLength == 0)
            return std::wstring();
        if (nLength < strPath.size() || strPath.size() > 32768) {
            strPath.resize(nLength);
            return strPath;
        }
        strPath.resize(strPath.size() * 2);
    }
}

// "C:\dir\Quillet.exe" gives "Quillet", in the ANSI code page that message box captions use;
// a character the code page lacks comes out as the system's stand-in.
static CString GetModuleBaseName(HINSTANCE hInstance) {
    std::wstring strName = GetModuleFileNameLong(hInstance);
    strName.erase(0, strName.find_last_of(L'\\') + 1);
    const size_t nDot = strName.rfind(L'.');
    if (nDot != std::wstring::npos)
        strName.erase(nDot);
    if (strName.empty())
        return CString();
    const int nWide = static_cast<int>(strName.size());
    const int nBytes =
        ::WideCharToMultiByte(CP_ACP, 0, strName.data(), nWide, nullptr, 0, nullptr, nullptr);
    std::string strAnsi(nBytes > 0 ? static_cast<size_t>(nBytes) : 0, '\0');
    if (nBytes > 0)
        ::WideCharToMultiByte(CP_ACP, 0, strName.data(), nWide, &strAnsi[0], nBytes, nullptr,
                              nullptr);
    return CString(strAnsi);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return 1;
    pApp->m_hInstance = hInstance;
    if (pApp->m_strAppName.IsEmpty())
        pApp->m_strAppName = GetModuleBaseName(hInstance);
    pApp->InitInstance();
    return 0;
}
