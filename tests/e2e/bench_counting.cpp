// The driver's half of scripts/bench-counting.sh, not a test: counts one minute on a project,
// optionally with the "Please stop counter first" box left open for 30 s in the middle, and
// prints how the counted time compares with the running time on the driver's clock. Lines
// "BENCH-SAMPLE <mark>" ask the script to read the program's processor time; the driver waits
// until the script answers with the file <scratch>\<mark>.done.
#include "cases_counting.h"

using namespace e2e;
using namespace e2e::counting;

namespace {

void Report(const char* format, double a, double b, double c) {
    std::printf("BENCH ");
    std::printf(format, a, b, c);
    std::printf("\n");
    std::fflush(stdout);
}

void Sample(const std::string& mark) {
    std::printf("BENCH-SAMPLE %s\n", mark.c_str());
    std::fflush(stdout);
    const std::string done = GetOptions().scratchRoot + "\\" + mark + ".done";
    WaitFor(("the script to sample " + mark).c_str(), [&] { return FileExists(done); }, 60000);
    DeleteFileA(done.c_str());
}

// Sleeps until the run has lasted `ms` by the driver's clock.
void SleepUntilRun(ULONGLONG runStart, ULONGLONG ms) {
    const ULONGLONG now = GetTickCount64();
    if (runStart + ms > now)
        PumpMessages(static_cast<DWORD>(runStart + ms - now));
}

// Waits for the run counter to turn to `seconds` and returns the driver's clock then. Polled
// closely, so the moment is known to a few milliseconds.
ULONGLONG WaitForTick(HWND main, long seconds) {
    const ULONGLONG deadline = GetTickCount64() + kWaitMs;
    while (ShownSeconds(main) < seconds) {
        if (GetTickCount64() > deadline)
            FailWait("the run counter to tick", kWaitMs);
        Sleep(2);
    }
    return GetTickCount64();
}

void CountOneMinute(bool bMessageBox) {
    Scratch scratch;
    scratch.WriteProjectFile(ProjectFileBytes({{"Bench", "000:00:00"}}));
    App app(scratch.ExePath(), scratch.WorkDir());
    const HWND main = StartIdle(app);
    std::printf("BENCH-EXE %s\n", scratch.ExePath().c_str());
    Pick(main, 0);

    // The run counter turns to 1 one second into the run; that fixes when the run began.
    ClickButton(main, IDC_START);
    const ULONGLONG runStart = WaitForTick(main, 1) - 1000;
    Sample("begin");

    if (bMessageBox) {
        SleepUntilRun(runStart, 15000);
        RequestClose(main);
        const MessageBoxInfo box = ExpectMessage(app, kStopFirst);
        const long frozen = ShownSeconds(main);
        SleepUntilRun(runStart, 45000);
        Dismiss(box);
        const long after = WaitForShownChange(main, frozen);
        Report("message box open from %.0f s to %.0f s of the run; the display went on at %.0f s",
               double(frozen), 45.0, double(after));
    }

    SleepUntilRun(runStart, 59500);
    const ULONGLONG tick = WaitForTick(main, 60);
    const long shown = ShownSeconds(main);
    ClickButton(main, IDC_STOP);
    const ULONGLONG stopPosted = GetTickCount64();
    Flush(main);
    const ULONGLONG stopDone = GetTickCount64();
    Sample("end");

    const double ranAtTick = (tick - runStart) / 1000.0;
    Report("display: %.0f s counted after %.3f s of running, difference %+.3f s", double(shown),
           ranAtTick, shown - ranAtTick);
    const auto bytes = scratch.ReadProjectFile();
    const long saved = bytes ? ParseTimeLine(bytes->substr(bytes->size() - 9)) : -1;
    const double ranAtStop = (stopPosted + stopDone) / 2.0 / 1000.0 - runStart / 1000.0;
    Report("saved total: %.0f s after %.3f s of running at the stop, difference %+.3f s",
           double(saved), ranAtStop, saved - ranAtStop);
    CHECK(saved >= 0);

    RequestClose(main);
    CHECK(app.WaitForExit());
}

} // namespace

E2E_CASE("bench.counting_one_minute") {
    CountOneMinute(false);
}

E2E_CASE("bench.counting_one_minute_with_a_message_box") {
    CountOneMinute(true);
}
