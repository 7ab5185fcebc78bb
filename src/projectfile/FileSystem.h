// The few file calls the project file needs. One implementation per platform; the unit tests
// wrap it to make chosen calls fail. Paths are UTF-8 (the Windows layer turns them into the wide
// form, so any folder name and any length works); contents are 8-bit bytes, passed unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class IFileSystem {
public:
    // An open file: a HANDLE on Windows, a descriptor on POSIX.
    using FileHandle = std::intptr_t;

    virtual ~IFileSystem() = default;

    // Opens an existing file for reading, letting others read too, takes its full size and
    // closes it again. False when it cannot be opened; never creates it.
    virtual bool ProbeSize(const std::string& strPath, std::uint64_t& nSize) = 0;
    // Reads the whole file as raw bytes. False when it cannot be opened or read, or when it
    // holds more than nMaxSize bytes (then nothing is read).
    virtual bool ReadAll(const std::string& strPath, std::string& strContent,
                         std::uint64_t nMaxSize) = 0;
    // Reads the file's first nBytes bytes, or all of it when it is shorter, in a buffer no larger
    // than the file. False when it cannot be opened or read.
    virtual bool ReadHead(const std::string& strPath, std::string& strContent,
                          std::size_t nBytes) = 0;

    // True when something is at the path, also when it cannot be opened; false only when
    // nothing is there.
    virtual bool PathExists(const std::string& strPath) = 0;
    // Creates a file for writing, hidden when asked; one of that name (a journal a crash left,
    // already dealt with, or a settings file that was not there a moment ago) is truncated.
    virtual bool CreateNew(const std::string& strPath, bool bHidden, FileHandle& hFile) = 0;
    // Writes all the bytes at the file's position, or fails.
    virtual bool Write(FileHandle hFile, const char* pData, std::size_t nSize) = 0;
    // Pushes what was written, and the file's length, through to the disk.
    virtual bool Flush(FileHandle hFile) = 0;
    virtual bool Close(FileHandle hFile) = 0;
    // Deletes the file; true also when it was not there.
    virtual bool Remove(const std::string& strPath) = 0;
    // Opens the existing file for reading and writing, letting others only read meanwhile, so
    // that what is read and what is written back belong together. A file another program holds
    // for a moment is waited for briefly. Never creates it; bMissing tells a file that is not
    // there from one that refuses (read-only, locked).
    virtual bool OpenForUpdate(const std::string& strPath, FileHandle& hFile, bool& bMissing) = 0;
    virtual bool GetSize(FileHandle hFile, std::uint64_t& nSize) = 0;
    // Reads up to nBytes from nOffset; fewer at the end of the file.
    virtual bool ReadAt(FileHandle hFile, std::uint64_t nOffset, std::size_t nBytes,
                        std::string& strData) = 0;
    virtual bool WriteAt(FileHandle hFile, std::uint64_t nOffset, const char* pData,
                         std::size_t nSize) = 0;
    // Cuts or extends the open file to nLength bytes.
    virtual bool SetLength(FileHandle hFile, std::uint64_t nLength) = 0;
    // The names of the entries in the folder (a path ending in its separator); none when it
    // cannot be listed.
    virtual std::vector<std::string> ListFolder(const std::string& strFolder) = 0;
};

// The real file system of the platform the program was built for.
IFileSystem& GetPlatformFileSystem();
