// Shared by the project file tests: a scratch folder with a real project file in it, and fakes
// for the list on screen and the message boxes that record what the user would see.
#pragma once

#include "FileSystem.h"
#include "ProjectFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// Alpha with 001:02:03, then a new project Beta: CR LF pairs at 5, 16 and 22.
const std::string kAlphaBeta = "Alpha\r\n001:02:03\r\nBeta\r\n000:00:00";

class CFakeSink : public IMessageSink {
public:
    void ShowMessage(const char* pszText) override { m_messages.push_back(pszText); }
    std::vector<std::string> m_messages;
};

// Records the calls, in order, in the same log as the entries they leave.
class CFakeList : public IStringList {
public:
    int GetCount() const override { return static_cast<int>(m_entries.size()); }
    void DeleteString(int nIndex) override {
        m_calls.push_back("delete " + std::to_string(nIndex));
        m_entries.erase(m_entries.begin() + nIndex);
    }
    void AddString(const char* pszText) override {
        m_calls.push_back(std::string("add ") + pszText);
        m_entries.push_back(pszText);
    }
    void BeginFill(int nCount, std::size_t nBytes) override {
        m_calls.push_back("begin " + std::to_string(nCount));
        m_nReservedBytes = nBytes;
    }
    void EndFill() override { m_calls.push_back("end"); }
    std::size_t m_nReservedBytes = 0;
    std::vector<std::string> m_entries;
    std::vector<std::string> m_calls;
};

class ProjectFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char szTemplate[] = "/tmp/quillet-pf-XXXXXX";
        ASSERT_NE(mkdtemp(szTemplate), nullptr);
        m_strDir = szTemplate;
        m_strPath = m_strDir + "/Projekte.dbu";
    }
    void TearDown() override { std::filesystem::remove_all(m_strDir); }

    void WriteFileBytes(const std::string& strBytes) {
        std::ofstream(m_strPath, std::ios::binary | std::ios::trunc) << strBytes;
    }
    std::string ReadFileBytes() const {
        std::ifstream in(m_strPath, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool FileExists() const { return std::filesystem::exists(m_strPath); }
    // The names in the scratch folder: a save must leave no temporary file behind.
    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_strDir)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }
    CProjectFile File(IFileSystem& fs = GetPlatformFileSystem()) {
        return CProjectFile(m_strPath, fs, m_sink);
    }
    std::vector<std::string> Names() {
        CFakeList list;
        File().LoadProjectNames(list);
        return list.m_entries;
    }
    // Adds counted seconds to a project's total as a count's save does.
    bool AddTotal(const std::string& strName, std::int64_t nSeconds, int nOccurrence = 0) {
        CountedRecord record;
        record.strName = strName;
        record.nOccurrence = nOccurrence;
        TotalUpdate update;
        return File().AddToProjectTotal(record, nSeconds, true, update);
    }
    bool Delete(int nIndex, const std::string& strName) {
        bool bListStale = false;
        return File().DeleteProject(nIndex, strName, bListStale);
    }
    // The file's identity: an in-place save keeps it, a replace by rename does not.
    ino_t Inode() const {
        struct stat st = {};
        stat(m_strPath.c_str(), &st);
        return st.st_ino;
    }

    std::string m_strDir;
    std::string m_strPath;
    CFakeSink m_sink;
};

using Strings = std::vector<std::string>;
