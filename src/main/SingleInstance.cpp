#include "SingleInstance.h"

#include "framework/Afx.h"
#include "framework/WidePath.h"

#include <cstring>
#include <string>
#include <vector>

const UINT g_nActivateInstanceMessage = ::RegisterWindowMessageA("Quillet.ActivateInstance");

// The window record's names, one per key, and the mappings that hold them while the program runs.
static std::vector<CString> g_mappingNames;
static std::vector<HANDLE> g_windowMappings;

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
    strKey.Format("Quillet.p%08lx%08lx", static_cast<unsigned long>(nHash >> 32),
                  static_cast<unsigned long>(nHash & 0xFFFFFFFFu));
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

// The folder's identity names the project file whether or not it exists yet (its name is
// fixed); the file's own identity, while it exists, also catches a file linked into two folders.
// The spelled path serves only where the folder cannot be opened.
static std::vector<CString> MakeKeys(const CString& strProjectFilePath) {
    const std::wstring strPath = ToWidePath(strProjectFilePath.Str());
    std::wstring strFolder = strPath.substr(0, strPath.find_last_of(L'\\') + 1);
    if (strFolder.size() > 3 && strFolder[strFolder.size() - 2] != L':')
        strFolder.pop_back(); // "C:\" keeps its backslash, "C:\dir\" loses it
    std::vector<CString> keys;
    const CString strFolderKey = MakeIdentityKey(strFolder, 'd');
    keys.push_back(strFolderKey.IsEmpty() ? MakePathKey(strPath) : strFolderKey);
    const CString strFileKey = MakeIdentityKey(strPath, 'f');
    if (!strFileKey.IsEmpty())
        keys.push_back(strFileKey);
    return keys;
}

static CString Named(const char* pszNamespace, const CString& strKey, const char* pszSuffix) {
    CString strName = pszNamespace;
    strName += strKey;
    strName += pszSuffix;
    return strName;
}

CSingleInstance::~CSingleInstance() {
    for (HANDLE hHandle : m_handles)
        ::CloseHandle(hHandle);
}

// The lock lives in the machine-wide namespace, so copies in other sessions see it. A lock that
// another user made cannot be opened (access denied): that copy holds the file. Where no
// machine-wide object can be made the session's namespace serves, and with no lock at all the
// program runs unguarded rather than not at all.
bool CSingleInstance::TakeLock(const CString& strKey) {
    HANDLE hMutex = ::CreateMutexA(nullptr, FALSE, Named("Global\\", strKey, ".lock"));
    DWORD nError = ::GetLastError();
    if (!hMutex && nError == ERROR_ACCESS_DENIED)
        return false;
    if (!hMutex) {
        hMutex = ::CreateMutexA(nullptr, FALSE, Named("Local\\", strKey, ".lock"));
        nError = ::GetLastError();
    }
    if (hMutex)
        m_handles.push_back(hMutex);
    return !(hMutex && nError == ERROR_ALREADY_EXISTS);
}

// Every key must be free; the session mark and the window record go under each, so a second
// copy finds them under whichever key it met.
bool CSingleInstance::Claim(const CString& strProjectFilePath) {
    const std::vector<CString> keys = MakeKeys(strProjectFilePath);
    for (const CString& strKey : keys) {
        if (!TakeLock(strKey)) {
            m_strHeldKey = strKey;
            return false;
        }
    }
    for (const CString& strKey : keys) {
        if (HANDLE hMark = ::CreateMutexA(nullptr, FALSE, Named("Local\\", strKey, ".session")))
            m_handles.push_back(hMark);
        g_mappingNames.push_back(Named("Local\\", strKey, ".window"));
    }
    return true;
}

// The first copy marks its own session right after taking the lock; give it a moment.
bool CSingleInstance::IsOtherCopyInThisSession() const {
    const CString strMark = Named("Local\\", m_strHeldKey, ".session");
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
static HWND FindPublishedWindow(const CString& strMappingName) {
    for (int nTry = 0; nTry < 40; ++nTry) {
        HANDLE hMapping = ::OpenFileMappingA(FILE_MAP_READ, FALSE, strMappingName);
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
    HWND hWnd = FindPublishedWindow(Named("Local\\", m_strHeldKey, ".window"));
    if (!hWnd)
        return;
    DWORD nProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &nProcessId);
    ::AllowSetForegroundWindow(nProcessId);
    ::PostMessageA(hWnd, g_nActivateInstanceMessage, 0, 0);
}

void PublishMainWindow(HWND hWnd) {
    if (!g_windowMappings.empty())
        return;
    for (const CString& strName : g_mappingNames) {
        HANDLE hMapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                               sizeof(UINT64), strName);
        if (!hMapping)
            continue;
        g_windowMappings.push_back(hMapping);
        if (void* pView = ::MapViewOfFile(hMapping, FILE_MAP_WRITE, 0, 0, sizeof(UINT64))) {
            UINT64 nValue = reinterpret_cast<UINT_PTR>(hWnd);
            std::memcpy(pView, &nValue, sizeof(nValue));
            ::UnmapViewOfFile(pView);
        }
    }
}
