// The file layer on POSIX systems, where the native unit tests run.
#include "FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Best effort: makes a file's creation or removal survive a power loss. A failure here leaves
// the entry made or removed all the same, so it is not reported.
void SyncDirectoryOf(const std::string& strPath) {
    const std::size_t nSlash = strPath.rfind('/');
    const std::string strDir = nSlash == std::string::npos ? "." : strPath.substr(0, nSlash + 1);
    const int fd = open(strDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// Drops the string's old buffer first: growing it would take twice its old size.
void ReserveExactly(std::string& strContent, std::uint64_t nSize) {
    std::string().swap(strContent);
    strContent.reserve(static_cast<std::size_t>(nSize));
}

// Appends what the descriptor holds from its position on, up to nMost bytes in all; a string
// reserved to the expected size is filled without growing.
bool ReadOn(int fd, std::string& strContent, std::size_t nMost) {
    char buffer[65536];
    while (strContent.size() < nMost) {
        const std::size_t nWant = std::min(sizeof buffer, nMost - strContent.size());
        const ssize_t nRead = read(fd, buffer, nWant);
        if (nRead < 0 && errno == EINTR) {
            continue;
        }
        if (nRead <= 0) {
            return nRead == 0;
        }
        strContent.append(buffer, static_cast<std::size_t>(nRead));
    }
    return true;
}

class CPosixFileSystem : public IFileSystem {
public:
    // O_NONBLOCK keeps a FIFO from blocking the probe; a directory counts as missing, as it
    // does on Windows.
    bool ProbeSize(const std::string& strPath, std::uint64_t& nSize) override {
        const int fd = open(strPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            return false;
        }
        struct stat st;
        const bool bOk = fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
        if (bOk) {
            nSize = static_cast<std::uint64_t>(st.st_size);
        }
        close(fd);
        return bOk;
    }

    bool ReadAll(const std::string& strPath, std::string& strContent,
                 std::uint64_t nMaxSize) override {
        const int fd = open(strPath.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            return false;
        }
        struct stat st;
        if (fstat(fd, &st) != 0 || static_cast<std::uint64_t>(st.st_size) > nMaxSize) {
            close(fd);
            return false;
        }
        ReserveExactly(strContent, static_cast<std::uint64_t>(st.st_size));
        const bool bOk = ReadOn(fd, strContent, static_cast<std::size_t>(nMaxSize) + 1);
        close(fd);
        return bOk && strContent.size() <= nMaxSize;
    }

    // The buffer is sized from the file, one byte more to see whether it grew since; a file
    // that did is read on up to nBytes.
    bool ReadHead(const std::string& strPath, std::string& strContent,
                  std::size_t nBytes) override {
        const int fd = open(strPath.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            return false;
        }
        struct stat st;
        const std::uint64_t nSize =
            fstat(fd, &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
        ReserveExactly(strContent, std::min<std::uint64_t>(nBytes, nSize + 1));
        const bool bOk = ReadOn(fd, strContent, nBytes);
        close(fd);
        return bOk;
    }

    bool PathExists(const std::string& strPath) override {
        struct stat st;
        return lstat(strPath.c_str(), &st) == 0 || errno != ENOENT;
    }

    // Sync the folder too, so that the journal's name is on the disk before the file changes.
    bool CreateNew(const std::string& strPath, bool, FileHandle& hFile) override {
        const int fd = open(strPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        hFile = fd;
        if (fd >= 0) {
            SyncDirectoryOf(strPath);
        }
        return fd >= 0;
    }
    bool Write(FileHandle hFile, const char* pData, std::size_t nSize) override {
        while (nSize > 0) {
            const ssize_t nWritten = write(static_cast<int>(hFile), pData, nSize);
            if (nWritten < 0 && errno == EINTR) {
                continue;
            }
            if (nWritten <= 0) {
                return false;
            }
            pData += nWritten;
            nSize -= static_cast<std::size_t>(nWritten);
        }
        return true;
    }

    bool Flush(FileHandle hFile) override { return fsync(static_cast<int>(hFile)) == 0; }

    bool Close(FileHandle hFile) override { return close(static_cast<int>(hFile)) == 0; }

    bool SetLength(FileHandle hFile, std::uint64_t nLength) override {
        return ftruncate(static_cast<int>(hFile), static_cast<off_t>(nLength)) == 0;
    }

    // The folder is synced: a journal's removal is what makes a change final.
    bool Remove(const std::string& strPath) override {
        if (unlink(strPath.c_str()) != 0) {
            return errno == ENOENT;
        }
        SyncDirectoryOf(strPath);
        return true;
    }

    bool OpenForUpdate(const std::string& strPath, FileHandle& hFile, bool& bMissing) override {
        struct stat st;
        if (stat(strPath.c_str(), &st) != 0) {
            bMissing = true;
            return false;
        }
        bMissing = false;
        if ((st.st_mode & 0222) == 0) {
            return false; // read-only, as on Windows, also for root
        }
        const int fd = open(strPath.c_str(), O_RDWR | O_CLOEXEC);
        hFile = fd;
        return fd >= 0;
    }

    bool GetSize(FileHandle hFile, std::uint64_t& nSize) override {
        struct stat st;
        if (fstat(static_cast<int>(hFile), &st) != 0) {
            return false;
        }
        nSize = static_cast<std::uint64_t>(st.st_size);
        return true;
    }

    bool ReadAt(FileHandle hFile, std::uint64_t nOffset, std::size_t nBytes,
                std::string& strData) override {
        strData.assign(nBytes, '\0');
        std::size_t nHave = 0;
        while (nHave < nBytes) {
            const ssize_t nRead = pread(static_cast<int>(hFile), &strData[nHave], nBytes - nHave,
                                        static_cast<off_t>(nOffset + nHave));
            if (nRead < 0 && errno == EINTR) {
                continue;
            }
            if (nRead <= 0) {
                strData.resize(nHave);
                return nRead == 0;
            }
            nHave += static_cast<std::size_t>(nRead);
        }
        return true;
    }

    bool WriteAt(FileHandle hFile, std::uint64_t nOffset, const char* pData,
                 std::size_t nSize) override {
        return lseek(static_cast<int>(hFile), static_cast<off_t>(nOffset), SEEK_SET) >= 0 &&
               Write(hFile, pData, nSize);
    }

    std::vector<std::string> ListFolder(const std::string& strFolder) override {
        std::vector<std::string> names;
        DIR* pDir = opendir(strFolder.c_str());
        if (pDir == nullptr) {
            return names;
        }
        while (const dirent* pEntry = readdir(pDir)) {
            const std::string strName = pEntry->d_name;
            if (strName != "." && strName != "..") {
                names.push_back(strName);
            }
        }
        closedir(pDir);
        return names;
    }
};

} // namespace

IFileSystem& GetPlatformFileSystem() {
    static CPosixFileSystem s_fileSystem;
    return s_fileSystem;
}
