// A file system held in memory, for the fuzz target: fast enough for millions of operations,
// and able to fail any one call of an operation, the way a full disk or a locked file would.
#pragma once

#include "FileSystem.h"

#include <cstdint>
#include <map>
#include <string>

class CMemoryFileSystem : public IFileSystem {
public:
    std::map<std::string, std::string> m_files;
    // The call (1, 2, ...) to fail; 0 fails none. m_nFailedCall says which one was failed.
    int m_nFailAt = 0;
    int m_nCalls = 0;
    int m_nFailedCall = 0;
    // Handles still open: every operation must close what it opened.
    std::map<FileHandle, std::string> m_open;
    // The failed call was a flush or a close: they cannot take back what was written.
    bool m_bFailedFlushOrClose = false;

    bool ProbeSize(const std::string& strPath, std::uint64_t& nSize) override {
        const auto it = m_files.find(strPath);
        if (!Pass() || it == m_files.end()) {
            return false;
        }
        nSize = it->second.size();
        return true;
    }
    bool ReadAll(const std::string& strPath, std::string& strContent,
                 std::uint64_t nMaxSize) override {
        const auto it = m_files.find(strPath);
        if (!Pass() || it == m_files.end() || it->second.size() > nMaxSize) {
            return false;
        }
        strContent = it->second;
        return true;
    }
    bool ReadHead(const std::string& strPath, std::string& strContent,
                  std::size_t nBytes) override {
        const auto it = m_files.find(strPath);
        if (!Pass() || it == m_files.end()) {
            return false;
        }
        strContent = it->second.substr(0, nBytes);
        return true;
    }
    // A query, like ListFolder: never failed.
    bool PathExists(const std::string& strPath) override { return m_files.count(strPath) != 0; }
    bool CreateNew(const std::string& strPath, bool, FileHandle& hFile) override {
        if (!Pass()) {
            return false;
        }
        m_files[strPath].clear();
        hFile = ++m_nLastHandle;
        m_open[hFile] = strPath;
        return true;
    }
    // A failing write still writes half its bytes, as a disk that fills up does.
    bool Write(FileHandle hFile, const char* pData, std::size_t nSize) override {
        std::string& strFile = m_files[m_open.at(hFile)];
        const bool bPass = Pass();
        strFile.append(pData, bPass ? nSize : nSize / 2);
        return bPass;
    }
    bool Flush(FileHandle hFile) override { return m_open.count(hFile) && PassFlushOrClose(); }
    // A failing close still closes the handle.
    bool Close(FileHandle hFile) override { return m_open.erase(hFile) && PassFlushOrClose(); }
    bool SetLength(FileHandle hFile, std::uint64_t nLength) override {
        if (!Pass()) {
            return false;
        }
        m_files[m_open.at(hFile)].resize(nLength);
        return true;
    }
    bool OpenForUpdate(const std::string& strPath, FileHandle& hFile, bool& bMissing) override {
        bMissing = !m_files.count(strPath);
        if (!Pass() || bMissing) {
            return false;
        }
        hFile = ++m_nLastHandle;
        m_open[hFile] = strPath;
        return true;
    }
    bool GetSize(FileHandle hFile, std::uint64_t& nSize) override {
        nSize = m_files[m_open.at(hFile)].size();
        return Pass();
    }
    bool ReadAt(FileHandle hFile, std::uint64_t nOffset, std::size_t nBytes,
                std::string& strData) override {
        const std::string& strFile = m_files[m_open.at(hFile)];
        strData = nOffset < strFile.size() ? strFile.substr(nOffset, nBytes) : std::string();
        return Pass();
    }
    // A failing write in place fails before it writes: the file keeps its bytes.
    bool WriteAt(FileHandle hFile, std::uint64_t nOffset, const char* pData,
                 std::size_t nSize) override {
        std::string& strFile = m_files[m_open.at(hFile)];
        if (!Pass()) {
            return false;
        }
        if (strFile.size() < nOffset + nSize) {
            strFile.resize(nOffset + nSize);
        }
        strFile.replace(nOffset, nSize, pData, nSize);
        return true;
    }
    bool Remove(const std::string& strPath) override {
        if (!Pass()) {
            return false;
        }
        m_files.erase(strPath);
        return true;
    }
    std::vector<std::string> ListFolder(const std::string& strFolder) override {
        std::vector<std::string> names;
        for (const auto& file : m_files) {
            const std::string& strPath = file.first;
            if (strPath.compare(0, strFolder.size(), strFolder) == 0 &&
                strPath.find_first_of("\\/", strFolder.size()) == std::string::npos) {
                names.push_back(strPath.substr(strFolder.size()));
            }
        }
        return names;
    }

private:
    bool PassFlushOrClose() {
        const bool bPassed = Pass();
        m_bFailedFlushOrClose = m_bFailedFlushOrClose || !bPassed;
        return bPassed;
    }
    bool Pass() {
        if (++m_nCalls != m_nFailAt) {
            return true;
        }
        m_nFailedCall = m_nCalls;
        return false;
    }

    FileHandle m_nLastHandle = 0;
};
