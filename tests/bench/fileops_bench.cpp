// The Windows half of scripts/bench-fileops.sh, not a test: times each project-file operation
// through the program's own Win32 file layer on files of 1,000, 10,000 and 100,000 projects in
// the folder it is given, against one sequential read of the same file and against one flushed
// write of nine bytes to a small file of its own, and prints one line per figure:
//   FILEOPS <operation> <projects> <median microseconds>
//   FILEOPS flush-9-bytes 0 <median microseconds>
// Built with the program's compiler and options; the script runs it under Wine.
#include "FileSystem.h"
#include "ProjectFile.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

class CQuietSink : public IMessageSink {
public:
    void ShowMessage(const char* pszText) override { std::fprintf(stderr, "%s\n", pszText); }
};

class CCountingList : public IStringList {
public:
    int GetCount() const override { return m_nCount; }
    void DeleteString(int) override { --m_nCount; }
    void AddString(const char*) override { ++m_nCount; }
    int m_nCount = 0;
};

std::string ProjectName(int nNumber) {
    char szName[32];
    std::snprintf(szName, sizeof szName, "Project %06d", nNumber);
    return szName;
}

std::string ManyProjects(int nCount) {
    std::string strBytes;
    for (int i = 1; i <= nCount; ++i)
        strBytes += (i > 1 ? "\r\n" : "") + ProjectName(i) + "\r\n000:00:00";
    return strBytes;
}

// One read of the whole file into a buffer of its size: the least any operation must do.
void ReadSequentially(const std::string& strPath) {
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::vector<char> buffer(GetFileSize(hFile, nullptr));
    DWORD nDone = 0, nRead = 0;
    while (nDone < buffer.size() &&
           ReadFile(hFile, buffer.data() + nDone, static_cast<DWORD>(buffer.size()) - nDone, &nRead,
                    nullptr) &&
           nRead)
        nDone += nRead;
    CloseHandle(hFile);
}

// Median microseconds of one call, over at least 5 calls and about `budget` seconds.
double MedianMicroseconds(const std::function<void()>& operation, double budget) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> times;
    const auto end = Clock::now() + std::chrono::duration<double>(budget);
    while (times.size() < 5 || (Clock::now() < end && times.size() < 1000)) {
        const Clock::time_point begin = Clock::now();
        operation();
        times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - begin).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Print(const char* pszOperation, int nProjects, double us) {
    std::printf("FILEOPS %s %d %.1f\n", pszOperation, nProjects, us);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    const std::string strDir = argc > 1 ? argv[1] : ".";
    const double budget = argc > 2 ? std::atof(argv[2]) : 0.3;
    const std::string strPath = strDir + "\\Projekte.dbu", strSmall = strDir + "\\small.bin";
    IFileSystem& fs = GetPlatformFileSystem();
    CQuietSink sink;
    CProjectFile file(strPath, fs, sink);

    // What the disk takes to flush: the floor of every operation that writes.
    std::ofstream(strSmall, std::ios::binary | std::ios::trunc) << "000:00:00";
    Print("flush-9-bytes", 0,
          MedianMicroseconds(
              [&] {
                  IFileSystem::FileHandle hFile = 0;
                  bool bMissing = false;
                  if (fs.OpenForUpdate(strSmall, hFile, bMissing)) {
                      fs.WriteAt(hFile, 0, "000:00:01", 9);
                      fs.Flush(hFile);
                      fs.Close(hFile);
                  }
              },
              budget));
    for (int nProjects : {1000, 10000, 100000}) {
        std::ofstream(strPath, std::ios::binary | std::ios::trunc) << ManyProjects(nProjects);
        const int nLast = nProjects - 1;
        const std::string strFirst = "Project 000001", strLast = ProjectName(nProjects);
        int h = 0, m = 0, s = 0;
        bool bStale = false;
        // Each count's record, found by the first save and checked where it was afterwards.
        CountedRecord first, last;
        first.strName = strFirst;
        last.strName = strLast;
        TotalUpdate update;
        const std::pair<const char*, std::function<void()>> operations[] = {
            {"sequential-read", [&] { ReadSequentially(strPath); }},
            {"LoadProjectNames",
             [&] {
                 CCountingList list;
                 file.LoadProjectNames(list);
             }},
            {"LoadOverviewRows",
             [&] {
                 CCountingList list;
                 file.LoadOverviewRows(list);
             }},
            {"ReadProjectTotal(first)", [&] { file.ReadProjectTotal(0, h, m, s); }},
            {"ReadProjectTotal(last)", [&] { file.ReadProjectTotal(nLast, h, m, s); }},
            {"AddToProjectTotal(first)",
             [&] { file.AddToProjectTotal(first, 1, true, update); }},
            {"AddToProjectTotal(last)",
             [&] { file.AddToProjectTotal(last, 1, true, update); }},
            {"AppendProject+DeleteProject(last)",
             [&] { file.AppendProject("Bench"), file.DeleteProject(nProjects, "Bench", bStale); }},
        };
        for (const auto& operation : operations)
            Print(operation.first, nProjects, MedianMicroseconds(operation.second, budget));
    }
    DeleteFileA(strPath.c_str());
    DeleteFileA(strSmall.c_str());
    return 0;
}
