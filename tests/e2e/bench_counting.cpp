// The driver's half of scripts/bench-counting.sh (which tells what one round starts), not a
// test. Within the window of BENCH_WINDOW seconds the driver only reads the run counters of the
// two counts under modal loops, from the window manager's copy of their text, so that no message
// reaches those programs. Afterwards each count's saved total is compared with its display.
#include "bench.h"

#include <algorithm>
#include <memory>

using namespace e2e;
using namespace e2e::bench;

namespace {

// tests/e2e/bare_dialog/BareDialog.rc
const int kBareStart = 1001;
const int kBareMinimize = 1003;

struct Bare {
    const char* label;
    const char* tag; // of its scratch folder
    std::unique_ptr<Scratch> scratch = nullptr;
    std::unique_ptr<App> app = nullptr;
    HWND main = nullptr;
};

struct Counted : Bare {
    long projects;
    long picked; // the counted project's index
};

// Starts the count on the picked project and waits for its first second.
void StartCounting(Counted& c) {
    c.main = StartIdle(*c.app);
    Pick(c.main, static_cast<int>(c.picked));
    CHECK_EQ(WindowText(ComboField(Control(c.main, IDC_PROJECT_COMBO))), ProjectName(c.picked));
    StartCount(*c.app, c.main);
}

// Stops the count and reports the display against the saved total of the counted project.
void StopAndReport(Counted& c) {
    const long shown = ShownSeconds(c.main);
    Press(c.main, IDC_STOP);
    const auto bytes = c.scratch->ReadProjectFile();
    const std::string name = ProjectName(c.picked) + "\r\n";
    const size_t at = bytes ? bytes->find(name) : std::string::npos;
    const long saved =
        at != std::string::npos ? ParseTimeLine(bytes->substr(at + name.size(), 9)) : -1;
    char line[160];
    std::snprintf(line, sizeof line, "BENCH-SAVED %s shown %ld s, saved %ld s", c.label, shown,
                  saved);
    Line(line);
    CHECK(saved >= shown && saved <= shown + 1);
    CloseToExit(*c.app, c.main);
}

bool InMoveLoop(HWND hwnd) {
    return (GuiThreadOf(hwnd).flags & GUI_INMOVESIZE) != 0;
}

// Posts the system command that moves the window by keyboard, and waits until its thread is in
// that loop: the thread says so, and the window follows an arrow key (with the contents shown
// while moving, Wine's default) or at least the loop takes it.
void EnterMoveLoop(HWND hwnd) {
    RECT before{}, after{};
    GetWindowRect(hwnd, &before);
    PostMessageW(hwnd, WM_SYSCOMMAND, SC_MOVE, 0);
    WaitFor("the move loop", [&] { return InMoveLoop(hwnd); });
    PressKey(hwnd, VK_RIGHT);
    const bool followed =
        Eventually([&] { return GetWindowRect(hwnd, &after) && after.left != before.left; }, 2000);
    Line(std::string("BENCH move loop entered (GUI_INMOVESIZE), the window ") +
         (followed ? "followed an arrow key" : "stays put until the loop ends"));
}

void LeaveMoveLoop(HWND hwnd) {
    PressKey(hwnd, VK_ESCAPE);
    WaitFor("the move loop to end", [&] { return !InMoveLoop(hwnd); });
}

// The run counter as the window manager holds its text: reading it sends the program nothing.
long HeldSeconds(HWND display) {
    wchar_t text[32] = L"";
    InternalGetWindowText(display, text, 32);
    return ParseClock(Narrow(text));
}

// Whether a run counter advanced by one every second over a stretch of polls.
struct Watch {
    const char* label;
    HWND display;
    long last = -1;
    ULONGLONG lastChangeAt = 0;
    ULONGLONG longestStill = 0;
    long steps = 0;   // advances by exactly one second
    long skipped = 0; // other changes
    void Poll(ULONGLONG now) {
        const long shown = HeldSeconds(display);
        if (last < 0) {
            last = shown;
            lastChangeAt = now;
            return;
        }
        if (shown != last) {
            ++(shown == last + 1 ? steps : skipped);
            last = shown;
            longestStill = std::max(longestStill, now - lastChangeAt);
            lastChangeAt = now;
        }
    }
    // "BENCH-MOVED <label> <seconds seen> <seconds> <longest stand-still ms> <yes|no>"
    void Report(ULONGLONG end, long seconds) {
        longestStill = std::max(longestStill, end - lastChangeAt);
        const bool everySecond = skipped == 0 && longestStill <= 1500 && steps >= seconds - 1;
        char line[160];
        std::snprintf(line, sizeof line, "BENCH-MOVED %s %ld %ld %llu %s", label, steps, seconds,
                      longestStill, everySecond ? "yes" : "no");
        Line(line);
    }
};

} // namespace

E2E_CASE("bench.counting") {
    const long seconds = Setting("BENCH_WINDOW", 60);
    const ULONGLONG window = static_cast<ULONGLONG>(seconds) * 1000;
    Bare bares[] = {{"bare", "bare"}, {"bare-hidden", "barehidden"}};
    for (Bare& b : bares) {
        b.scratch = std::make_unique<Scratch>(b.tag);
        b.app = std::make_unique<App>(CopyBareDialog(*b.scratch), b.scratch->WorkDir());
    }
    Counted counted[] = {{{"1", "one"}, 1, 0},
                         {{"10k", "10k"}, 10000, 0},
                         {{"100k-last", "100k"}, 100000, 99999},
                         {{"1-hidden", "hidden"}, 1, 0},
                         {{"1+box", "box"}, 1, 0},
                         {{"1+move", "move"}, 1, 0}};
    Counted &hidden = counted[3], &boxed = counted[4], &moved = counted[5];
    for (Counted& c : counted) {
        c.scratch = std::make_unique<Scratch>(c.tag);
        c.scratch->WriteProjectFile(ManyProjects(c.projects));
        c.app = std::make_unique<App>(c.scratch->ExePath(), c.scratch->WorkDir());
    }
    for (Bare& b : bares) {
        b.main = WaitFor("the bare dialog", [&] { return FirstWindow(*b.app); });
        Line(std::string("BENCH-EXE ") + b.label + " " + b.scratch->AppDir() + "\\BareDialog.exe");
    }
    for (Counted& c : counted) {
        StartCounting(c);
        Line(std::string("BENCH-EXE ") + c.label + " " + c.scratch->ExePath());
    }
    // Each shown window in its own place, none over another: a window that another covers or
    // uncovers (the message box's owner, a dialog that came up later) draws more than the rest.
    // Two columns; the third row reaches below the screen, its run counters still on it.
    HWND placed[] = {bares[0].main,   counted[0].main, counted[1].main,
                     counted[2].main, boxed.main,      moved.main};
    int width = 0, height = 0;
    for (HWND hwnd : placed) {
        RECT rect{};
        GetWindowRect(hwnd, &rect);
        width = std::max<int>(width, rect.right - rect.left + 8);
        height = std::max<int>(height, rect.bottom - rect.top + 8);
    }
    for (int i = 0; i < 6; ++i)
        SetWindowPos(placed[i], nullptr, (i % 2) * width, (i / 2) * height, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A click on start leaves the focus on the start button; the driver's click does not, and
    // the active window's project field would blink its caret twice a second. Every count, and
    // the bare dialogs, get the focus on their start button, which has no caret.
    for (const Bare& b : bares)
        PostMessageW(b.main, WM_NEXTDLGCTL,
                     reinterpret_cast<WPARAM>(GetDlgItem(b.main, kBareStart)), TRUE);
    for (const Counted& c : counted)
        PostMessageW(c.main, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(c.main, IDC_START)),
                     TRUE);
    ClickButton(bares[1].main, kBareMinimize);
    WaitFor("the bare dialog to hide", [&] { return !IsWindowVisible(bares[1].main); });
    MinimizeToTray(hidden.main);
    // Without a notification area on the X server, Wine shows the icon in a window of its own
    // at the screen's top left corner: it goes right of the two columns.
    if (const HWND tray = FindWindowA(nullptr, "Wine System Tray"))
        SetWindowPos(tray, nullptr, 2 * width, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages(2000); // past the start's own work
    // The pointer rests in the screen's far corner, off every window: the window under a resting
    // pointer gets mouse messages while its contents change, and that would load only the
    // window on top. The move loop then puts it on the caption of the window it moves.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    RequestClose(boxed.main);
    const MessageBoxInfo box = ExpectMessage(*boxed.app, kStopFirst);
    // The box comes up in the middle of the screen, over another count's run counter: it goes
    // over its own dialog's top, clear of that dialog's total and run counter.
    RECT owner{}, boxRect{};
    GetWindowRect(boxed.main, &owner);
    GetWindowRect(box.hwnd, &boxRect);
    SetWindowPos(box.hwnd, nullptr,
                 owner.left + (owner.right - owner.left - (boxRect.right - boxRect.left)) / 2,
                 owner.top + 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EnterMoveLoop(moved.main);
    PumpMessages(1500);

    Watch watches[] = {{"1+box", Control(boxed.main, IDC_TIME_DISPLAY)},
                       {"1+move", Control(moved.main, IDC_TIME_DISPLAY)}};
    Sample("begin");
    const ULONGLONG begin = GetTickCount64();
    for (ULONGLONG now = begin; now < begin + window; now = GetTickCount64()) {
        for (Watch& w : watches)
            w.Poll(now);
        PumpMessages(static_cast<DWORD>(std::min<ULONGLONG>(200, begin + window - now)));
    }
    const ULONGLONG end = GetTickCount64();
    for (Watch& w : watches)
        w.Poll(end);
    Sample("end");
    for (Watch& w : watches)
        w.Report(end, seconds);

    CHECK(InMoveLoop(moved.main));
    LeaveMoveLoop(moved.main);
    Dismiss(box);
    MouseOverIcon(hidden.main, WM_LBUTTONUP);
    WaitFor("the hidden count to show again", [&] { return IsWindowVisible(hidden.main); });
    for (Counted& c : counted)
        StopAndReport(c);
    for (Bare& b : bares)
        CloseToExit(*b.app, b.main);
}
