// What the driver's benchmark scenes (bench_*.cpp) share with the scripts that run them
// (scripts/bench-*.sh). A scene prints lines the script reads: "BENCH-EXE <label> <path>" names
// a program the script is to find among the Linux processes, "BENCH-SAMPLE <mark>" asks it to
// read their processor times (the scene waits for <scratch>\<mark>.done), "BENCH-<KIND> ..."
// lines carry figures, "BENCH ..." lines notes. Settings come from the environment.
#pragma once

#include "scene.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace e2e {
namespace bench {

// An integer setting from the environment (Wine passes the script's variables on).
inline long Setting(const char* name, long fallback) {
    char text[32] = "";
    const DWORD length = GetEnvironmentVariableA(name, text, sizeof text);
    return length > 0 && length < sizeof text ? std::strtol(text, nullptr, 10) : fallback;
}

inline void Line(const std::string& text) {
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
}

// Asks the script to read the processor times now, and waits until it has.
inline void Sample(const std::string& mark) {
    WaitForScript("BENCH-SAMPLE " + mark, mark);
}

// The name of project `index` of ManyProjects.
inline std::string ProjectName(long index) {
    char name[32];
    std::snprintf(name, sizeof name, "Project %06ld", index + 1);
    return name;
}

// A project file of `count` projects, each with a zero total.
inline std::string ManyProjects(long count) {
    Records records;
    records.reserve(static_cast<size_t>(count));
    for (long i = 0; i < count; ++i)
        records.emplace_back(ProjectName(i), "000:00:00");
    return ProjectFileBytes(records);
}

// The bare dialog program (built beside the driver) copied into the scratch folder's app
// folder, where Quillet.exe is: both start from the same kind of place.
inline std::string CopyBareDialog(const Scratch& scratch) {
    char driver[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, driver, MAX_PATH);
    std::string from = driver;
    from = from.substr(0, from.rfind('\\') + 1) + "bare_dialog.exe";
    const std::string to = scratch.AppDir() + "\\BareDialog.exe";
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE))
        throw CaseAborted("cannot copy " + from);
    return to;
}

// The first visible top-level window of the program, or null.
inline HWND FirstWindow(const App& app) {
    const std::vector<HWND> windows = app.Windows();
    return windows.empty() ? nullptr : windows.front();
}

} // namespace bench
} // namespace e2e
