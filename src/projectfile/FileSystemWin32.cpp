// The file layer on Windows, over the kernel's wide ("W") file calls.
#include "FileSystem.h"
#include "WidePath.h"

#include <windows.h>

#include <algorithm>

namespace {

const DWORD kChunkSize = 1 << 20;
const std::size_t kGrowthSize = 1 << 16;
const int kRenameAttempts = 10;
const DWORD kRenameRetryDelayMs = 50;
// About a second of waiting for a file that another program holds open without sharing.
const int kBusyAttempts = 20;
// What a replacement keeps of the project file's attributes; it is new content, so it is marked
// for the next backup as well.
const DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

HANDLE ToHandle(IFileSystem::FileHandle hFile) {
    return reinterpret_cast<HANDLE>(hFile);
}

bool Seek(IFileSystem::FileHandle hFile, std::uint64_t nOffset) {
    LARGE_INTEGER offset;
    offset.QuadPart = static_cast<LONGLONG>(nOffset);
    return ::SetFilePointerEx(ToHandle(hFile), offset, nullptr, FILE_BEGIN) != FALSE;
}

HANDLE OpenForReading(const std::string& strPath, DWORD nShare) {
    return ::CreateFileW(ToWidePath(strPath).c_str(), GENERIC_READ, nShare, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

// One buffer of the size found at the open, one byte more to see whether the file grew since;
// a file that did is read on, in small steps, up to nMaxSize.
bool ReadToEnd(HANDLE hFile, std::uint64_t nSize, std::uint64_t nMaxSize, std::string& strContent) {
    strContent.assign(static_cast<std::size_t>(nSize) + 1, '\0');
    std::size_t nHave = 0;
    for (;;) {
        if (nHave == strContent.size()) {
            if (nHave > nMaxSize) {
                return false;
            }
            strContent.resize(nHave + kGrowthSize);
        }
        const DWORD nWant =
            static_cast<DWORD>(std::min<std::size_t>(strContent.size() - nHave, kChunkSize));
        DWORD nRead = 0;
        if (!::ReadFile(hFile, &strContent[nHave], nWant, &nRead, nullptr)) {
            return false;
        }
        if (nRead == 0) {
            break;
        }
        nHave += nRead;
    }
    strContent.resize(nHave);
    return nHave <= nMaxSize;
}

// Before the rename: a read-only project file is refused here, since Wine run as root would
// replace it all the same; its other attributes go to the replacement.
bool TakeOverAttributes(const std::wstring& strFrom, const std::wstring& strTo) {
    const DWORD nAttributes = ::GetFileAttributesW(strTo.c_str());
    if (nAttributes != INVALID_FILE_ATTRIBUTES && (nAttributes & FILE_ATTRIBUTE_READONLY)) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    const DWORD nKept =
        nAttributes == INVALID_FILE_ATTRIBUTES ? 0 : (nAttributes & kKeptAttributes);
    return ::SetFileAttributesW(strFrom.c_str(), nKept | FILE_ATTRIBUTE_ARCHIVE) != FALSE;
}

class CWin32FileSystem : public IFileSystem {
public:
    // Read access, shared for reading only: a file that another process holds open for
    // writing counts as missing.
    bool ProbeSize(const std::string& strPath, std::uint64_t& nSize) override {
        HANDLE hFile = OpenForReading(strPath, FILE_SHARE_READ);
        if (hFile == INVALID_HANDLE_VALUE) {
            return false;
        }
        LARGE_INTEGER size{};
        const bool bOk = ::GetFileSizeEx(hFile, &size) != FALSE;
        ::CloseHandle(hFile);
        nSize = static_cast<std::uint64_t>(size.QuadPart);
        return bOk;
    }

    bool ReadAll(const std::string& strPath, std::string& strContent,
                 std::uint64_t nMaxSize) override {
        HANDLE hFile = OpenForReading(strPath, FILE_SHARE_READ | FILE_SHARE_WRITE);
        if (hFile == INVALID_HANDLE_VALUE) {
            return false;
        }
        LARGE_INTEGER size{};
        const bool bOk =
            ::GetFileSizeEx(hFile, &size) &&
            static_cast<std::uint64_t>(size.QuadPart) <= nMaxSize &&
            ReadToEnd(hFile, static_cast<std::uint64_t>(size.QuadPart), nMaxSize, strContent);
        ::CloseHandle(hFile);
        return bOk;
    }

    bool ReadHead(const std::string& strPath, std::string& strContent,
                  std::size_t nBytes) override {
        HANDLE hFile = OpenForReading(strPath, FILE_SHARE_READ | FILE_SHARE_WRITE);
        if (hFile == INVALID_HANDLE_VALUE) {
            return false;
        }
        strContent.assign(nBytes, '\0');
        std::size_t nHave = 0;
        bool bOk = true;
        while (nHave < nBytes) {
            const DWORD nWant =
                static_cast<DWORD>(std::min<std::size_t>(nBytes - nHave, kChunkSize));
            DWORD nRead = 0;
            bOk = ::ReadFile(hFile, &strContent[nHave], nWant, &nRead, nullptr) != FALSE;
            if (!bOk || nRead == 0) {
                break;
            }
            nHave += nRead;
        }
        ::CloseHandle(hFile);
        strContent.resize(nHave);
        return bOk;
    }

    bool CreateTemp(const std::string& strPath, FileHandle& hFile) override {
        HANDLE hCreated = ::CreateFileW(ToWidePath(strPath).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
        hFile = reinterpret_cast<FileHandle>(hCreated);
        return hCreated != INVALID_HANDLE_VALUE;
    }

    bool Write(FileHandle hFile, const char* pData, std::size_t nSize) override {
        while (nSize > 0) {
            const DWORD nChunk = nSize < kChunkSize ? static_cast<DWORD>(nSize) : kChunkSize;
            DWORD nWritten = 0;
            if (!::WriteFile(ToHandle(hFile), pData, nChunk, &nWritten, nullptr) || nWritten == 0) {
                return false;
            }
            pData += nWritten;
            nSize -= nWritten;
        }
        return true;
    }

    bool Flush(FileHandle hFile) override { return ::FlushFileBuffers(ToHandle(hFile)) != FALSE; }

    bool Close(FileHandle hFile) override { return ::CloseHandle(ToHandle(hFile)) != FALSE; }

    // A virus scanner, an indexer or another copy's presence test may hold the project file
    // open for a moment, which makes the replacement fail; it is tried again briefly.
    bool ReplaceByRename(const std::string& strFrom, const std::string& strTo) override {
        const std::wstring strWideFrom = ToWidePath(strFrom);
        const std::wstring strWideTo = ToWidePath(strTo);
        if (!TakeOverAttributes(strWideFrom, strWideTo)) {
            return false;
        }
        for (int nAttempt = 1;; ++nAttempt) {
            if (::MoveFileExW(strWideFrom.c_str(), strWideTo.c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
                return true;
            }
            const DWORD nError = ::GetLastError();
            if (nAttempt >= kRenameAttempts ||
                (nError != ERROR_SHARING_VIOLATION && nError != ERROR_ACCESS_DENIED)) {
                return false;
            }
            ::Sleep(kRenameRetryDelayMs);
        }
    }

    bool Remove(const std::string& strPath) override {
        return ::DeleteFileW(ToWidePath(strPath).c_str()) ||
               ::GetLastError() == ERROR_FILE_NOT_FOUND;
    }

    // Others may go on reading, as the presence test does. A backup tool, a virus scanner or a
    // sync client that holds the file without sharing for a moment is waited for about a second.
    // The read-only mark is checked here too, since an administrator's open would ignore it.
    bool OpenForUpdate(const std::string& strPath, FileHandle& hFile, bool& bMissing) override {
        const std::wstring strWidePath = ToWidePath(strPath);
        for (int nAttempt = 1;; ++nAttempt) {
            const DWORD nAttributes = ::GetFileAttributesW(strWidePath.c_str());
            DWORD nError = ERROR_ACCESS_DENIED;
            if (nAttributes == INVALID_FILE_ATTRIBUTES) {
                nError = ::GetLastError();
            } else if (!(nAttributes & FILE_ATTRIBUTE_READONLY)) {
                HANDLE hOpened = ::CreateFileW(strWidePath.c_str(), GENERIC_READ | GENERIC_WRITE,
                                               FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                               FILE_ATTRIBUTE_NORMAL, nullptr);
                if (hOpened != INVALID_HANDLE_VALUE) {
                    hFile = reinterpret_cast<FileHandle>(hOpened);
                    return true;
                }
                nError = ::GetLastError();
            }
            bMissing = nError == ERROR_FILE_NOT_FOUND || nError == ERROR_PATH_NOT_FOUND;
            const bool bBusy = nError == ERROR_SHARING_VIOLATION || nError == ERROR_LOCK_VIOLATION;
            if (!bBusy || nAttempt >= kBusyAttempts)
                return false;
            ::Sleep(kRenameRetryDelayMs);
        }
    }

    bool GetSize(FileHandle hFile, std::uint64_t& nSize) override {
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(ToHandle(hFile), &size))
            return false;
        nSize = static_cast<std::uint64_t>(size.QuadPart);
        return true;
    }

    bool ReadAt(FileHandle hFile, std::uint64_t nOffset, std::size_t nBytes,
                std::string& strData) override {
        if (!Seek(hFile, nOffset))
            return false;
        strData.assign(nBytes, '\0');
        std::size_t nHave = 0;
        while (nHave < nBytes) {
            const DWORD nWant = static_cast<DWORD>(std::min<std::size_t>(nBytes - nHave, kChunkSize));
            DWORD nRead = 0;
            if (!::ReadFile(ToHandle(hFile), &strData[nHave], nWant, &nRead, nullptr))
                return false;
            if (nRead == 0)
                break;
            nHave += nRead;
        }
        strData.resize(nHave);
        return true;
    }

    bool WriteAt(FileHandle hFile, std::uint64_t nOffset, const char* pData,
                 std::size_t nSize) override {
        return Seek(hFile, nOffset) && Write(hFile, pData, nSize);
    }

    std::uint32_t GetProcessId() override { return ::GetCurrentProcessId(); }

    std::vector<std::string> ListFolder(const std::string& strFolder) override {
        std::vector<std::string> names;
        WIN32_FIND_DATAW found;
        HANDLE hFind = ::FindFirstFileW(ToWidePath(strFolder + "*").c_str(), &found);
        if (hFind == INVALID_HANDLE_VALUE) {
            return names;
        }
        do {
            const std::string strName = ToUtf8(found.cFileName);
            if (strName != "." && strName != "..") {
                names.push_back(strName);
            }
        } while (::FindNextFileW(hFind, &found));
        ::FindClose(hFind);
        return names;
    }
};

} // namespace

IFileSystem& GetPlatformFileSystem() {
    static CWin32FileSystem s_fileSystem;
    return s_fileSystem;
}
