#include "SingleInstance.h"

#include "framework/Afx.h"
#include "projectfile/WidePath.h"

#include <cstring>
#include <string>

const UINT g_nActivateInstanceMessage = ::RegisterWindowMessageA("Quillet.ActivateInstance");

static HANDLE g_hWindowMapping = nullptr;
static CString g_strMappingName;

const char kOtherSessionMessage[] =
    "Quillet is already running on this project file in another Windows session.\n"
    "Close it there before starting it here.";

// FNV-1a over the path in upper case: paths differing only in case name the same file.
static CString MakePathKey(const std::wstring& strPath) {
    std::wstring strUpper = strPath;
    if (!strUpper.empty())
        ::CharUpperBuffW(&strUpper[0], static_cast<DWORD>(strUpper.size()));
    unsigned long long nHash = 14695981039346656037ull;
    for (wchar_t c : strUpper) {
        nHash ^= static_cast<unsigned short>(c);
        nHash *= 1099511628211ull;
    }
    CString strKey;
    strKey.Format("Quillet.p%016llx", nHash);
    return strKey;
}

// Volume serial and file index: the same for every path that reaches the file or folder (a
// short name, a link, a mapped drive, another spelling). Empty when it cannot be opened.
static CString MakeIdentityKey(const std::wstring& strPath, char cKind) {
    HANDLE hFile =
        ::CreateFileW(strPath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return CString();
    BY_HANDLE_FILE_INFORMATION info{};
    const BOOL bOk = ::GetFileInformationByHandle(hFile, &info);
    ::CloseHandle(hFile);
    CString strKey;
    if (bOk)
        strKey.Format("Quillet.%c%08lx.%08lx%08lx", cKind, info.dwVolumeSerialNumber,
                      info.nFileIndexHigh, info.nFileIndexLow);
    return strKey;
}

// The project file's identity; while it is missing, that of its folder (the file name is
// fixed), and the spelled path only when neither can be opened.
static CString MakeKey(const CString& strProjectFilePath) {
    const std::wstring strPath = ToWidePath(strProjectFilePath.Str());
    CString strKey = MakeIdentityKey(strPath, 'f');
    if (strKey.IsEmpty()) {
        std::wstring strFolder = strPath.substr(0, strPath.find_last_of(L'\\') + 1);
        if (strFolder.size() > 3 && strFolder[strFolder.size() - 2] != L':')
            strFolder.pop_back(); // "C:\" keeps its backslash, "C:\dir\" loses it
        strKey = MakeIdentityKey(strFolder, 'd');
    }
    return strKey.IsEmpty() ? MakePathKey(strPath) : strKey;
}

static CString Named(const char* pszNamespace, const CString& strKey, const char* pszSuffix) {
    CString strName = pszNamespace;
    strName += strKey;
    strName += pszSuffix;
    return strName;
}

CSingleInstance::~CSingleInstance() {
    if (m_hSessionMark)
        ::CloseHandle(m_hSessionMark);
    if (m_hMutex)
        ::CloseHandle(m_hMutex);
}

// The lock lives in the machine-wide namespace, so copies in other sessions see it. A lock that
// another user made cannot be opened (access denied): that copy holds the file. Where no
// machine-wide object can be made the session's namespace serves, and with no lock at all the
// program runs unguarded rather than not at all.
bool CSingleInstance::Claim(const CString& strProjectFilePath) {
    m_strKey = MakeKey(strProjectFilePath);
    m_hMutex = ::CreateMutexA(nullptr, FALSE, Named("Global\\", m_strKey, ".lock"));
    DWORD nError = ::GetLastError();
    if (!m_hMutex && nError == ERROR_ACCESS_DENIED)
        return false;
    if (!m_hMutex) {
        m_hMutex = ::CreateMutexA(nullptr, FALSE, Named("Local\\", m_strKey, ".lock"));
        nError = ::GetLastError();
    }
    g_strMappingName = Named("Local\\", m_strKey, ".window");
    if (m_hMutex && nError == ERROR_ALREADY_EXISTS)
        return false;
    m_hSessionMark = ::CreateMutexA(nullptr, FALSE, Named("Local\\", m_strKey, ".session"));
    return true;
}

// The first copy marks its own session right after taking the lock; give it a moment.
bool CSingleInstance::IsOtherCopyInThisSession() const {
    const CString strMark = Named("Local\\", m_strKey, ".session");
    for (int nTry = 0; nTry < 20; ++nTry) {
        if (HANDLE hMark = ::OpenMutexA(SYNCHRONIZE, FALSE, strMark)) {
            ::CloseHandle(hMark);
            return true;
        }
        ::Sleep(50);
    }
    return false;
}

// Reads the first copy's window from the shared record; it may not be there yet while that
// copy is still starting, so wait for it a little.
static HWND FindPublishedWindow() {
    for (int nTry = 0; nTry < 40; ++nTry) {
        HANDLE hMapping = ::OpenFileMappingA(FILE_MAP_READ, FALSE, g_strMappingName);
        if (hMapping) {
            HWND hWnd = nullptr;
            if (const void* pView =
                    ::MapViewOfFile(hMapping, FILE_MAP_READ, 0, 0, sizeof(UINT64))) {
                UINT64 nValue = 0;
                std::memcpy(&nValue, pView, sizeof(nValue));
                hWnd = reinterpret_cast<HWND>(static_cast<UINT_PTR>(nValue));
                ::UnmapViewOfFile(pView);
            }
            ::CloseHandle(hMapping);
            if (hWnd && ::IsWindow(hWnd))
                return hWnd;
        }
        ::Sleep(50);
    }
    return nullptr;
}

void CSingleInstance::ActivateOtherCopy() const {
    if (!IsOtherCopyInThisSession()) {
        AfxMessageBox(kOtherSessionMessage);
        return;
    }
    HWND hWnd = FindPublishedWindow();
    if (!hWnd)
        return;
    DWORD nProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &nProcessId);
    ::AllowSetForegroundWindow(nProcessId);
    ::PostMessageA(hWnd, g_nActivateInstanceMessage, 0, 0);
}

void PublishMainWindow(HWND hWnd) {
    if (g_strMappingName.IsEmpty() || g_hWindowMapping)
        return;
    g_hWindowMapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            sizeof(UINT64), g_strMappingName);
    if (!g_hWindowMapping)
        return;
    if (void* pView = ::MapViewOfFile(g_hWindowMapping, FILE_MAP_WRITE, 0, 0, sizeof(UINT64))) {
        UINT64 nValue = reinterpret_cast<UINT_PTR>(hWnd);
        std::memcpy(pView, &nValue, sizeof(nValue));
        ::UnmapViewOfFile(pView);
    }
}
