// The few file calls the project file needs. One implementation per platform; the unit tests
// wrap it to make chosen calls fail. Paths and contents are 8-bit bytes, passed unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class IFileSystem {
public:
    // An open file: a HANDLE on Windows, a descriptor on POSIX.
    using FileHandle = std::intptr_t;

    virtual ~IFileSystem() = default;

    // Opens an existing file for reading, letting others read too, takes the low 32 bits of
    // its size and closes it again. False when it cannot be opened; never creates it.
    virtual bool ProbeSize(const std::string& strPath, std::uint32_t& nSize) = 0;
    // Reads the whole file as raw bytes. False when it cannot be opened or read.
    virtual bool ReadAll(const std::string& strPath, std::string& strContent) = 0;

    // Creates the file for writing, or truncates it when it exists.
    virtual bool CreateTemp(const std::string& strPath, FileHandle& hFile) = 0;
    // Writes all the bytes, or fails.
    virtual bool Write(FileHandle hFile, const char* pData, std::size_t nSize) = 0;
    // Pushes what was written through to the disk.
    virtual bool Flush(FileHandle hFile) = 0;
    virtual bool Close(FileHandle hFile) = 0;
    // Puts strFrom in the place of strTo in one step; strTo holds either its old content or
    // strFrom's, whatever happens.
    virtual bool ReplaceByRename(const std::string& strFrom, const std::string& strTo) = 0;
    // Deletes the file; true also when it was not there.
    virtual bool Remove(const std::string& strPath) = 0;
    // Opens the existing file for writing, without creating or truncating it, writes the bytes
    // at nOffset, flushes them to the disk and closes it.
    virtual bool OverwriteAt(const std::string& strPath, std::uint64_t nOffset, const char* pData,
                             std::size_t nSize) = 0;
};

// The real file system of the platform the program was built for.
IFileSystem& GetPlatformFileSystem();
