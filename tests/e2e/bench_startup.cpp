// The driver's half of scripts/bench-startup.sh, not a test: how long each program takes from
// its start to its visible window, for the bare dialog and for Quillet on an empty file and on
// files of 10,000 and 100,000 projects. The scenes take turns, BENCH_RUNS rounds of them, and
// each start prints "BENCH-STARTUP <scene> <milliseconds> <round>"; the script makes the table.
#include "bench.h"

using namespace e2e;
using namespace e2e::bench;

namespace {

struct StartupScene {
    const char* name;
    long projects; // -1: the bare dialog
};

const StartupScene kScenes[] = {{"bare", -1}, {"empty", 0}, {"10k", 10000}, {"100k", 100000}};

// From CreateProcess to the first visible window, polled every millisecond.
double TimeToWindow(const std::string& exePath, const Scratch& scratch) {
    LARGE_INTEGER frequency, begin, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    App app(exePath, scratch.WorkDir());
    const ULONGLONG deadline = GetTickCount64() + 60000;
    HWND window = nullptr;
    while ((window = FirstWindow(app)) == nullptr) {
        if (GetTickCount64() > deadline)
            FailWait("the program's window", 60000);
        Sleep(1);
    }
    QueryPerformanceCounter(&now);
    app.Settle(window);
    CloseToExit(app, window);
    // The next start begins once this program's leaving (its windows, its memory, the
    // wineserver's records of it) has run its course, so no start pays for the one before.
    Sleep(500);
    return double(now.QuadPart - begin.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

} // namespace

E2E_CASE("bench.startup") {
    const long runs = Setting("BENCH_RUNS", 11);
    Scratch scratch;
    const std::string bare = CopyBareDialog(scratch);
    std::string files[4];
    for (int i = 1; i < 4; ++i)
        files[i] = ManyProjects(kScenes[i].projects);
    // One start of each, not counted: the first start of a program under Wine loads more.
    // The first Quillet start after the bare dialog's is slower than the others of its round,
    // whatever its file: Quillet's three scenes take turns at that place.
    for (long run = -1; run < runs; ++run) {
        for (int turn = 0; turn < 4; ++turn) {
            const int i = turn == 0 ? 0 : 1 + static_cast<int>((turn - 1 + run + 1) % 3);
            if (kScenes[i].projects >= 0)
                scratch.WriteProjectFile(files[i]);
            const double ms =
                TimeToWindow(kScenes[i].projects < 0 ? bare : scratch.ExePath(), scratch);
            if (run >= 0) {
                char line[96];
                std::snprintf(line, sizeof line, "BENCH-STARTUP %s %.1f %ld", kScenes[i].name, ms,
                              run);
                Line(line);
            }
        }
    }
}
