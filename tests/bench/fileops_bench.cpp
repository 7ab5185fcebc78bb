// The native half of scripts/bench-fileops.sh, not a test: times each project-file operation
// on files of 1,000, 10,000 and 100,000 projects in a scratch folder, against one sequential
// read of the same file, and prints one line per operation and size:
//   FILEOPS <operation> <projects> <median microseconds> <read's median microseconds>
// Built by the script with optimisation and without sanitizers, on the real file system.
#include "FileSystem.h"
#include "ProjectFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
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
    const int fd = open(strPath.c_str(), O_RDONLY);
    std::vector<char> buffer(static_cast<size_t>(lseek(fd, 0, SEEK_END)));
    lseek(fd, 0, SEEK_SET);
    size_t nDone = 0;
    while (nDone < buffer.size()) {
        const ssize_t n = read(fd, buffer.data() + nDone, buffer.size() - nDone);
        if (n <= 0)
            break;
        nDone += static_cast<size_t>(n);
    }
    close(fd);
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

} // namespace

int main(int argc, char** argv) {
    const std::string strDir = argc > 1 ? argv[1] : "/tmp";
    const double budget = argc > 2 ? std::atof(argv[2]) : 0.3;
    const std::string strPath = strDir + "/Projekte.dbu";
    CQuietSink sink;
    CProjectFile file(strPath, GetPlatformFileSystem(), sink);
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
        const double read = MedianMicroseconds([&] { ReadSequentially(strPath); }, budget);
        std::printf("FILEOPS sequential-read %d %.1f %.1f\n", nProjects, read, read);
        for (const auto& operation : operations) {
            const double us = MedianMicroseconds(operation.second, budget);
            std::printf("FILEOPS %s %d %.1f %.1f\n", operation.first, nProjects, us, read);
            std::fflush(stdout);
        }
    }
    std::remove(strPath.c_str());
    return 0;
}
