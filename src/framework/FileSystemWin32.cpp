// The file layer on Windows, over the kernel's wide ("W") file calls.
#include "projectfile/FileSystem.h"
#include "WidePath.h"

#include <windows.h>

#include <algorithm>

namespace {

const DWORD kChunkSize = 1 << 20;
const std::size_t kGrowthSize = 1 << 16;
const DWORD kRetryDelayMs = 50;
// About a second of waiting for a file that another program holds open without sharing.
const int kBusyAttempts = 20;

HANDLE ToHandle(IFileSystem::FileHandle hFile) {
    return reinterpret_cast<HANDLE>(hFile);
}

bool Seek(IFileSystem::FileHandle hFile, std::uint64_t nOffset) {
    LARGE_INTEGER offset;
    offset.QuadPart = static_cast<LONGLONG>(nOffset);
    return ::SetFilePointerEx(ToHandle(hFile), offset, nullptr, FILE_BEGIN) != FALSE;
}

// The file's size; 0 when it cannot be had.
bool SizeOf(HANDLE hFile, std::uint64_t& nSize) {
    LARGE_INTEGER size{};
    const bool bOk = ::GetFileSizeEx(hFile, &size) != FALSE;
    nSize = bOk ? static_cast<std::uint64_t>(size.QuadPart) : 0;
    return bOk;
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

class CWin32FileSystem : public IFileSystem {
public:
    // Read access, shared for reading only: a file that another process holds open for
    // writing counts as missing.
    bool ProbeSize(const std::string& strPath, std::uint64_t& nSize) override {
        HANDLE hFile = OpenForReading(strPath, FILE_SHARE_READ);
        if (hFile == INVALID_HANDLE_VALUE) {
            return false;
        }
        const bool bOk = SizeOf(hFile, nSize);
        ::CloseHandle(hFile);
        return bOk;
    }

    bool ReadAll(const std::string& strPath, std::string& strContent,
                 std::uint64_t nMaxSize) override {
        HANDLE hFile = OpenForReading(strPath, FILE_SHARE_READ | FILE_SHARE_WRITE);
        if (hFile == INVALID_HANDLE_VALUE) {
            return false;
        }
        std::uint64_t nSize = 0;
        const bool bOk = SizeOf(hFile, nSize) && nSize <= nMaxSize &&
                         ReadToEnd(hFile, nSize, nMaxSize, strContent);
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
        std::uint64_t nSize = 0;
        SizeOf(hFile, nSize); // unknown, the buffer grows as the file is read
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

    bool CreateNew(const std::string& strPath, bool bHidden, FileHandle& hFile) override {
        HANDLE hCreated =
            ::CreateFileW(ToWidePath(strPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          bHidden ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL, nullptr);
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

    bool SetLength(FileHandle hFile, std::uint64_t nLength) override {
        return Seek(hFile, nLength) && ::SetEndOfFile(ToHandle(hFile));
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
            ::Sleep(kRetryDelayMs);
        }
    }

    bool GetSize(FileHandle hFile, std::uint64_t& nSize) override {
        return SizeOf(ToHandle(hFile), nSize);
    }

    bool ReadAt(FileHandle hFile, std::uint64_t nOffset, std::size_t nBytes,
                std::string& strData) override {
        return Seek(hFile, nOffset) && ReadUpTo(ToHandle(hFile), nBytes, nBytes, strData);
    }

    bool WriteAt(FileHandle hFile, std::uint64_t nOffset, const char* pData,
                 std::size_t nSize) override {
        return Seek(hFile, nOffset) && Write(hFile, pData, nSize);
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
