// A file system that fails a chosen call, for the project file's failure and crash tests.
#pragma once

#include "FileSystem.h"
#include "ProjectFile.h"

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

// A change of the project file, run against the file's content before it, and its content after.
struct Change {
    const char* pszName;
    std::function<bool(const CProjectFile&)> run;
    std::string strBefore;
    std::string strAfter;
    std::set<std::string> calls = {}; // the calls the change makes, each failed in turn
};

// Passes every call through to the real file system except the Nth of an operation, which
// fails: a failing write to a new file first writes half its bytes, a failing close still
// closes. With
// bCrash the program "dies" there: that call and every later one that changes or opens a file
// does nothing and fails, and the handles still open are closed at the end, as the system does.
class CFaultyFileSystem : public IFileSystem {
public:
    CFaultyFileSystem(IFileSystem& real, int nFailAt, bool bCrash = false)
        : m_real(real), m_nFailAt(nFailAt), m_bCrash(bCrash) {}
    ~CFaultyFileSystem() override {
        for (FileHandle hFile : m_open) {
            m_real.Close(hFile);
        }
    }

    bool ProbeSize(const std::string& strPath, std::uint64_t& nSize) override {
        return Pass("probe") && m_real.ProbeSize(strPath, nSize);
    }
    bool ReadAll(const std::string& strPath, std::string& strContent,
                 std::uint64_t nMaxSize) override {
        return Pass("read") && m_real.ReadAll(strPath, strContent, nMaxSize);
    }
    bool ReadHead(const std::string& strPath, std::string& strContent,
                  std::size_t nBytes) override {
        return Pass("read") && m_real.ReadHead(strPath, strContent, nBytes);
    }
    bool PathExists(const std::string& strPath) override { return m_real.PathExists(strPath); }
    bool CreateNew(const std::string& strPath, bool bHidden, FileHandle& hFile) override {
        return Pass("create") && Opened(m_real.CreateNew(strPath, bHidden, hFile), hFile);
    }
    bool Write(FileHandle hFile, const char* pData, std::size_t nSize) override {
        if (!Pass("write")) {
            if (m_bFailingNow) {
                m_real.Write(hFile, pData, nSize / 2);
            }
            return false;
        }
        return m_real.Write(hFile, pData, nSize);
    }
    bool Flush(FileHandle hFile) override { return Pass("flush") && m_real.Flush(hFile); }
    bool Close(FileHandle hFile) override {
        if (!Pass("close") && m_bCrashed) {
            return false;
        }
        m_open.erase(std::remove(m_open.begin(), m_open.end(), hFile), m_open.end());
        return m_real.Close(hFile) && !m_bFailingNow;
    }
    bool Remove(const std::string& strPath) override {
        return Pass("remove") && m_real.Remove(strPath);
    }
    bool OpenForUpdate(const std::string& strPath, FileHandle& hFile, bool& bMissing) override {
        bMissing = false;
        return Pass("open") && Opened(m_real.OpenForUpdate(strPath, hFile, bMissing), hFile);
    }
    bool GetSize(FileHandle hFile, std::uint64_t& nSize) override {
        return Pass("size") && m_real.GetSize(hFile, nSize);
    }
    bool ReadAt(FileHandle hFile, std::uint64_t nOffset, std::size_t nBytes,
                std::string& strData) override {
        m_nBytesRead += nBytes;
        return Pass("read") && m_real.ReadAt(hFile, nOffset, nBytes, strData);
    }
    // A failing in-place write fails before it writes (the file keeps its old bytes); a crash
    // cuts it in half.
    bool WriteAt(FileHandle hFile, std::uint64_t nOffset, const char* pData,
                 std::size_t nSize) override {
        if (!Pass("write")) {
            if (m_bFailingNow && m_bCrash) {
                m_real.WriteAt(hFile, nOffset, pData, nSize / 2);
            }
            return false;
        }
        return m_real.WriteAt(hFile, nOffset, pData, nSize);
    }
    bool SetLength(FileHandle hFile, std::uint64_t nLength) override {
        return Pass("length") && m_real.SetLength(hFile, nLength);
    }
    std::vector<std::string> ListFolder(const std::string& strFolder) override {
        return m_real.ListFolder(strFolder);
    }

    std::string m_strFailed;      // the call that was failed, empty when none was
    std::size_t m_nBytesRead = 0; // asked of ReadAt

private:
    bool Pass(const char* pszCall) {
        m_bFailingNow = false;
        if (m_bCrashed) {
            return false;
        }
        if (++m_nCalls != m_nFailAt) {
            return true;
        }
        m_strFailed = pszCall;
        m_bFailingNow = true;
        m_bCrashed = m_bCrash;
        return false;
    }
    bool Opened(bool bOk, FileHandle hFile) {
        if (bOk) {
            m_open.push_back(hFile);
        }
        return bOk;
    }

    IFileSystem& m_real;
    int m_nFailAt;
    bool m_bCrash;
    bool m_bCrashed = false;
    bool m_bFailingNow = false;
    int m_nCalls = 0;
    std::vector<FileHandle> m_open;
};
