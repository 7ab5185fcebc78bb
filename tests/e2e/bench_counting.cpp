// The driver's half of scripts/bench-counting.sh, not a test. One round starts, side by side,
// the bare dialog (idle) and Quillet counting on files of 1, 10,000 and 100,000 projects, and
// one more Quillet counting on 1 project that gets the "Please stop counter first" box from a
// quarter to three quarters of the window. Once all count steadily, the script reads their
// processor times at the start and the end of a window of BENCH_WINDOW seconds, in which the
// driver only waits: it neither polls the displays nor stops anything. Afterwards each count
// is stopped and its saved total compared with its display.
#include "bench.h"
#include "cases_counting.h"

#include <memory>

using namespace e2e;
using namespace e2e::bench;
using namespace e2e::counting;

namespace {

struct Counted {
    const char* label;
    const char* tag; // of its scratch folder
    long projects;
    std::unique_ptr<Scratch> scratch = nullptr;
    std::unique_ptr<App> app = nullptr;
    HWND main = nullptr;
};

// Starts the count on the first project and waits for its first second.
void StartCounting(Counted& c) {
    c.main = StartIdle(*c.app);
    Pick(c.main, 0);
    ClickButton(c.main, IDC_START);
    WaitForShownAtLeast(c.main, 1);
}

// Stops the count and reports the display against the saved total.
void StopAndReport(Counted& c) {
    const long shown = ShownSeconds(c.main);
    ClickButton(c.main, IDC_STOP);
    Flush(c.main);
    const auto bytes = c.scratch->ReadProjectFile();
    // The first project's time line is the file's second line.
    const size_t lineEnd = bytes ? bytes->find("\r\n") : std::string::npos;
    const long saved =
        lineEnd != std::string::npos ? ParseTimeLine(bytes->substr(lineEnd + 2, 9)) : -1;
    char line[160];
    std::snprintf(line, sizeof line, "BENCH-SAVED %s shown %ld s, saved %ld s", c.label, shown,
                  saved);
    Line(line);
    CHECK(saved >= shown && saved <= shown + 1);
    RequestClose(c.main);
    CHECK(c.app->WaitForExit());
}

void SleepFor(ULONGLONG from, ULONGLONG ms) {
    const ULONGLONG now = GetTickCount64();
    if (from + ms > now)
        PumpMessages(static_cast<DWORD>(from + ms - now));
}

} // namespace

E2E_CASE("bench.counting") {
    const ULONGLONG window = static_cast<ULONGLONG>(Setting("BENCH_WINDOW", 60)) * 1000;
    Scratch bareScratch("bare");
    App bare(CopyBareDialog(bareScratch), bareScratch.WorkDir());
    Counted counted[] = {
        {"1", "one", 1}, {"10k", "10k", 10000}, {"100k", "100k", 100000}, {"1+box", "box", 1}};
    for (Counted& c : counted) {
        c.scratch = std::make_unique<Scratch>(c.tag);
        c.scratch->WriteProjectFile(ManyProjects(c.projects));
        c.app = std::make_unique<App>(c.scratch->ExePath(), c.scratch->WorkDir());
    }
    WaitFor("the bare dialog", [&] { return FirstWindow(bare); });
    Line("BENCH-EXE bare " + bareScratch.AppDir() + "\\BareDialog.exe");
    for (Counted& c : counted) {
        StartCounting(c);
        Line(std::string("BENCH-EXE ") + c.label + " " + c.scratch->ExePath());
    }
    // Each count in its own place, none over another: a window that another covers or
    // uncovers (the message box's owner, a dialog that came up later) draws more than the rest.
    // Two columns of the four counts, the idle bare dialog below them.
    HWND placed[] = {counted[0].main, counted[1].main, counted[2].main, counted[3].main,
                     FirstWindow(bare)};
    for (int i = 0; i < 5; ++i) {
        RECT rect{};
        GetWindowRect(placed[i], &rect);
        const int width = rect.right - rect.left + 8, height = rect.bottom - rect.top + 8;
        SetWindowPos(placed[i], nullptr, (i % 2) * width, (i / 2) * height, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // A click on start leaves the focus on the start button; the driver's click does not, and
    // the active window's project field would blink its caret twice a second. Every count, and
    // the bare dialog, gets the focus on its start button, which has no caret.
    const int kBareStart = 1001; // tests/e2e/bare_dialog/BareDialog.rc
    for (int i = 0; i < 5; ++i)
        PostMessageW(
            placed[i], WM_NEXTDLGCTL,
            reinterpret_cast<WPARAM>(GetDlgItem(placed[i], i < 4 ? IDC_START : kBareStart)), TRUE);
    PumpMessages(2000); // past the start's own work
    // The pointer rests in the screen's far corner, off every window: the window under a resting
    // pointer gets mouse messages while its contents change, and that would load only the
    // window on top (the last to come up: the 100k one, whose start takes longest).
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    PumpMessages(500);
    Sample("begin");
    const ULONGLONG begin = GetTickCount64();

    Counted& boxed = counted[3];
    SleepFor(begin, window / 4);
    RequestClose(boxed.main);
    const MessageBoxInfo box = ExpectMessage(*boxed.app, kStopFirst);
    SleepFor(begin, window * 3 / 4);
    PressOk(box);
    SleepFor(begin, window);
    Sample("end");

    dialogs::WaitUntilClosed(box.hwnd);
    for (Counted& c : counted)
        StopAndReport(c);
    RequestClose(FirstWindow(bare));
    CHECK(bare.WaitForExit());
}
