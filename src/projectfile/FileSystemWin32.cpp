// The file layer on Windows, over the kernel's "A" file calls.
#include "FileSystem.h"

#include <windows.h>

namespace {

const DWORD kChunkSize = 1 << 20;
const int kRenameAttempts = 10;
const DWORD kRenameRetryDelayMs = 50;

HANDLE ToHandle(IFileSystem::FileHandle hFile) {
    return reinterpret_cast<HANDLE>(hFile);
}

class CWin32FileSystem : public IFileSystem {
public:
    // Read access, shared for reading only: a file that another process holds open for
    // writing counts as missing.
    bool ProbeSize(const std::string& strPath, std::uint32_t& nSize) override {
        HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (hFile == INVALID_HANDLE_VALUE) {
            return false;
        }
        nSize = GetFileSize(hFile, nullptr);
        CloseHandle(hFile);
        return true;
    }

    bool ReadAll(const std::string& strPath, std::string& strContent) override {
        HANDLE hFile =
            CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (hFile == INVALID_HANDLE_VALUE) {
            return false;
        }
        strContent.clear();
        std::string strChunk(kChunkSize, '\0');
        DWORD nRead = 0;
        bool bOk = true;
        while ((bOk = ReadFile(hFile, &strChunk[0], kChunkSize, &nRead, nullptr) != FALSE) &&
               nRead > 0) {
            strContent.append(strChunk.data(), nRead);
        }
        CloseHandle(hFile);
        return bOk;
    }

    bool CreateTemp(const std::string& strPath, FileHandle& hFile) override {
        HANDLE hCreated = CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
        hFile = reinterpret_cast<FileHandle>(hCreated);
        return hCreated != INVALID_HANDLE_VALUE;
    }

    bool Write(FileHandle hFile, const char* pData, std::size_t nSize) override {
        while (nSize > 0) {
            const DWORD nChunk = nSize < kChunkSize ? static_cast<DWORD>(nSize) : kChunkSize;
            DWORD nWritten = 0;
            if (!WriteFile(ToHandle(hFile), pData, nChunk, &nWritten, nullptr) || nWritten == 0) {
                return false;
            }
            pData += nWritten;
            nSize -= nWritten;
        }
        return true;
    }

    bool Flush(FileHandle hFile) override { return FlushFileBuffers(ToHandle(hFile)) != FALSE; }

    bool Close(FileHandle hFile) override { return CloseHandle(ToHandle(hFile)) != FALSE; }

    // A virus scanner, an indexer or another copy's presence test may hold the project file
    // open for a moment, which makes the replacement fail; it is tried again briefly.
    bool ReplaceByRename(const std::string& strFrom, const std::string& strTo) override {
        for (int nAttempt = 1;; ++nAttempt) {
            if (MoveFileExA(strFrom.c_str(), strTo.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
                return true;
            }
            const DWORD nError = GetLastError();
            if (nAttempt >= kRenameAttempts ||
                (nError != ERROR_SHARING_VIOLATION && nError != ERROR_ACCESS_DENIED)) {
                return false;
            }
            Sleep(kRenameRetryDelayMs);
        }
    }

    bool Remove(const std::string& strPath) override {
        return DeleteFileA(strPath.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
    }

    // Others may go on reading, as the presence test does; a file held open for writing, or
    // without shared writing, refuses the open and so the save. The read-only mark is checked
    // here too, since an administrator's open would ignore it.
    bool OverwriteAt(const std::string& strPath, std::uint64_t nOffset, const char* pData,
                     std::size_t nSize) override {
        const DWORD nAttributes = GetFileAttributesA(strPath.c_str());
        if (nAttributes == INVALID_FILE_ATTRIBUTES || (nAttributes & FILE_ATTRIBUTE_READONLY)) {
            return false;
        }
        HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
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
};

} // namespace

IFileSystem& GetPlatformFileSystem() {
    static CWin32FileSystem s_fileSystem;
    return s_fileSystem;
}
