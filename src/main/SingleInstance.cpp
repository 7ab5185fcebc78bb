#include "SingleInstance.h"

#include <cstdio>
#include <cstring>
#include <vector>

const UINT g_nActivateInstanceMessage = ::RegisterWindowMessageA("Quillet.ActivateInstance");

static HANDLE g_hWindowMapping = nullptr;
static CString g_strMappingName;

// FNV-1a over the path in upper case: paths differing only in case name the same file.
static CString MakeKey(const CString& strPath) {
    std::vector<char> upper(strPath.Str().begin(), strPath.Str().end());
    if (!upper.empty())
        ::CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    unsigned long long nHash = 14695981039346656037ull;
    for (char c : upper) {
        nHash ^= static_cast<unsigned char>(c);
        nHash *= 1099511628211ull;
    }
    CString strKey;
    strKey.Format("Local\\Quillet.%016llx", nHash);
    return strKey;
}

CSingleInstance::~CSingleInstance() {
    if (m_hMutex)
        ::CloseHandle(m_hMutex);
}

bool CSingleInstance::Claim(const CString& strProjectFilePath) {
    m_strKey = MakeKey(strProjectFilePath);
    CString strMutex = m_strKey;
    strMutex += ".lock";
    m_hMutex = ::CreateMutexA(nullptr, FALSE, strMutex);
    bool bFirst = m_hMutex != nullptr && ::GetLastError() != ERROR_ALREADY_EXISTS;
    g_strMappingName = m_strKey;
    g_strMappingName += ".window";
    return bFirst;
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
