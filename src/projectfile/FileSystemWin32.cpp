// The file layer on Windows, over the kernel's wide ("W") file calls.
#include "FileSystem.h"
#include "WidePath.h"

#include <windows.h>

#include <algorithm>

namespace {

const DWORD kChunkSize = 1 << 20;
const std::size_t kGrowthSize = 1 << 16;
const int kOpenAttempts = 10;
const DWORD kOpenRetryDelayMs = 50;

HANDLE ToHandle(IFileSystem::FileHandle hFile) {
    return reinterpret_cast<HANDLE>(hFile);
}

HANDLE OpenForReading(const std::string& strPath, DWORD nShare) {
    return ::CreateFileW(ToWidePath(strPath).c_str(), GENERIC_READ, nShare, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Reads from the file's position until its end or nMost bytes: one buffer of the size found
// at the open, one byte more to see whether the file grew since (never more than nMost); a file
// that did is read on in small steps.
bool ReadUpTo(HANDLE hFile, std::uint64_t nSize, std::size_t nMost, std::string& strContent) {
    std::string().swap(strContent); // growing the old buffer would take twice its size
    strContent.assign(static_cast<std::size_t>(std::min<std::uint64_t>(nSize + 1, nMost)), '\0');
    std::size_t nHave = 0;
    for (;;) {
        if (nHave == strContent.size()) {
            if (nHave >= nMost) {
                break;
            }
            strContent.resize(std::min(nHave + kGrowthSize, nMost));
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
    return true;
}

// Up to nMaxSize bytes from the file's position; false when it holds more.
bool ReadToEnd(HANDLE hFile, std::uint64_t nSize, std::uint64_t nMaxSize, std::string& strContent) {
    return ReadUpTo(hFile, nSize, static_cast<std::size_t>(nMaxSize) + 1, strContent) &&
           strContent.size() <= nMaxSize;
}

bool SeekTo(HANDLE hFile, std::uint64_t nOffset) {
    LARGE_INTEGER offset;
    offset.QuadPart = static_cast<LONGLONG>(nOffset);
    return ::SetFilePointerEx(hFile, offset, nullptr, FILE_BEGIN) != FALSE;
}

// A virus scanner, an indexer or another copy's presence test may hold the project file open
// for a moment, which refuses the open; it is tried again briefly.
HANDLE OpenForReadWrite(const std::wstring& strPath) {
    for (int nAttempt = 1;; ++nAttempt) {
        HANDLE hFile = ::CreateFileW(strPath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (hFile != INVALID_HANDLE_VALUE || nAttempt >= kOpenAttempts ||
            ::GetLastError() != ERROR_SHARING_VIOLATION) {
            return hFile;
        }
        ::Sleep(kOpenRetryDelayMs);
    }
}

// The read-only mark is checked on the open file (a link's target), since an administrator's
// open, and Wine's run as root, would ignore it.
bool IsReadOnly(HANDLE hFile) {
    BY_HANDLE_FILE_INFORMATION info{};
    return !::GetFileInformationByHandle(hFile, &info) ||
           (info.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0;
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

    // The buffer is sized from the file; ReadUpTo reads on, up to nBytes, if it grew since.
    bool ReadHead(const std::string& strPath, std::string& strContent,
                  std::size_t nBytes) override {
        HANDLE hFile = OpenForReading(strPath, FILE_SHARE_READ | FILE_SHARE_WRITE);
        if (hFile == INVALID_HANDLE_VALUE) {
            return false;
        }
        LARGE_INTEGER size{};
        const bool bSized = ::GetFileSizeEx(hFile, &size) != FALSE;
        const std::uint64_t nSize = bSized ? static_cast<std::uint64_t>(size.QuadPart) : 0;
        const bool bOk = ReadUpTo(hFile, nSize, nBytes, strContent);
        ::CloseHandle(hFile);
        return bOk;
    }

    bool PathExists(const std::string& strPath) override {
        if (::GetFileAttributesW(ToWidePath(strPath).c_str()) != INVALID_FILE_ATTRIBUTES) {
            return true;
        }
        const DWORD nError = ::GetLastError();
        return nError != ERROR_FILE_NOT_FOUND && nError != ERROR_PATH_NOT_FOUND;
    }

    bool CreateHidden(const std::string& strPath, FileHandle& hFile) override {
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

    bool OpenForChange(const std::string& strPath, FileHandle& hFile) override {
        HANDLE hOpened = OpenForReadWrite(ToWidePath(strPath));
        if (hOpened != INVALID_HANDLE_VALUE && IsReadOnly(hOpened)) {
            ::CloseHandle(hOpened);
            ::SetLastError(ERROR_ACCESS_DENIED);
            hOpened = INVALID_HANDLE_VALUE;
        }
        hFile = reinterpret_cast<FileHandle>(hOpened);
        return hOpened != INVALID_HANDLE_VALUE;
    }

    bool ReadFrom(FileHandle hFile, std::uint64_t nOffset, std::string& strContent,
                  std::uint64_t nMaxSize) override {
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(ToHandle(hFile), &size) || !SeekTo(ToHandle(hFile), nOffset)) {
            return false;
        }
        const std::uint64_t nSize = static_cast<std::uint64_t>(size.QuadPart);
        const std::uint64_t nLeft = nSize > nOffset ? nSize - nOffset : 0;
        return nLeft <= nMaxSize && ReadToEnd(ToHandle(hFile), nLeft, nMaxSize, strContent);
    }

    bool WriteAt(FileHandle hFile, std::uint64_t nOffset, const char* pData,
                 std::size_t nSize) override {
        return SeekTo(ToHandle(hFile), nOffset) && Write(hFile, pData, nSize);
    }

    bool SetLength(FileHandle hFile, std::uint64_t nLength) override {
        return SeekTo(ToHandle(hFile), nLength) && ::SetEndOfFile(ToHandle(hFile));
    }

    bool Remove(const std::string& strPath) override {
        return ::DeleteFileW(ToWidePath(strPath).c_str()) ||
               ::GetLastError() == ERROR_FILE_NOT_FOUND;
    }

    // Others may go on reading, as the presence test does; a file held open for writing, or
    // without shared writing, refuses the open and so the save. The read-only mark is checked
    // here too, since an administrator's open would ignore it.
    bool OverwriteAt(const std::string& strPath, std::uint64_t nOffset, const char* pData,
                     std::size_t nSize) override {
        const std::wstring strWidePath = ToWidePath(strPath);
        const DWORD nAttributes = ::GetFileAttributesW(strWidePath.c_str());
        if (nAttributes == INVALID_FILE_ATTRIBUTES || (nAttributes & FILE_ATTRIBUTE_READONLY)) {
            return false;
        }
        HANDLE hFile = ::CreateFileW(strWidePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (hFile == INVALID_HANDLE_VALUE) {
            return false;
        }
        LARGE_INTEGER offset;
        offset.QuadPart = static_cast<LONGLONG>(nOffset);
        const FileHandle h = reinterpret_cast<FileHandle>(hFile);
        bool bOk = SetFilePointerEx(hFile, offset, nullptr, FILE_BEGIN) && Write(h, pData, nSize) &&
                   Flush(h);
        bOk = CloseHandle(hFile) && bOk;
        return bOk;
    }

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
