// The end-to-end cases' one vocabulary: the scene a case starts from (Quillet on a project file
// of its choosing, idle, a project picked or none), and one name per action a user takes or per
// thing a user sees. Timing is never asserted: a case waits for the display to change and
// compares what the file holds with what the display showed.
#pragma once

#include "Check.h"
#include "Driver.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "resource.h"

namespace e2e {

using Records = std::vector<std::pair<std::string, std::string>>;

const char kStopFirst[] = "Please stop counter first";
const char kChooseProject[] = "Please choose a project";

// Three projects: a total under 100 hours (kZetaSeconds), a new one, and one of more than 100
// hours with a name outside ASCII.
inline Records ThreeProjects() {
    return {{"Zeta", "012:34:56"},
            {"alpha", "000:00:00"},
            {"B\xFC"
             "ro & Verwaltung",
             "100:00:01"}};
}
inline std::vector<std::string> NamesOf(const Records& records) {
    std::vector<std::string> names;
    for (const auto& record : records)
        names.push_back(record.first);
    return names;
}

inline std::string ThreeProjectsFile() {
    return ProjectFileBytes(ThreeProjects());
}
// The projects of the screenshots in docs/.
inline Records SampleProjects() {
    return {{"Website relaunch", "012:34:56"},
            {"Customer support", "003:05:00"},
            {"Annual report 2025", "000:45:10"},
            {"Migration to the new server", "104:00:17"},
            {"Trade fair", "000:00:00"}};
}

constexpr long kZetaSeconds = 12 * 3600 + 34 * 60 + 56, kBueroSeconds = 100 * 3600 + 1;

// The program's open message boxes, questions included.
inline std::vector<MessageBoxInfo> OpenMessages(const App& app) {
    std::vector<MessageBoxInfo> boxes;
    for (HWND hwnd : app.Windows())
        if (IsMessageBox(hwnd))
            boxes.push_back({hwnd, WindowText(hwnd), WindowText(GetDlgItem(hwnd, 0xFFFF))});
    return boxes;
}

// The visible dialog of the program with this caption (message boxes are captioned "Quillet").
inline HWND FindDialog(const App& app, const std::string& caption) {
    for (HWND hwnd : app.Windows())
        if (ClassName(hwnd) == "#32770" && WindowText(hwnd) == caption)
            return hwnd;
    return nullptr;
}

// Waits for the dialog and until the program has handled what was posted to it so far.
inline HWND WaitForDialog(const App& app, const std::string& caption) {
    const HWND dialog = WaitFor(("the dialog \"" + caption + "\"").c_str(),
                                [&] { return FindDialog(app, caption); });
    app.Settle(dialog);
    return dialog;
}

inline void WaitUntilClosed(HWND hwnd) {
    WaitFor("a window to close", [hwnd] { return !IsWindow(hwnd); });
}

// Presses `button` on the main dialog and waits for the side dialog it opens.
inline HWND OpenFromMain(const App& app, HWND main, int button, const std::string& caption) {
    ClickButton(main, button);
    return WaitForDialog(app, caption);
}

inline HWND OpenCreateDialog(const App& app, HWND main) {
    return OpenFromMain(app, main, IDC_NEW_PROJECT, "Create new project");
}

inline HWND OpenDeleteDialog(const App& app, HWND main) {
    return OpenFromMain(app, main, IDC_DELETE_PROJECT, "Delete project");
}

inline HWND OpenOverview(const App& app, HWND main) {
    return OpenFromMain(app, main, IDC_OVERVIEW, "Project time overview ");
}

// Types a name into the open create dialog, waits until the field shows it, and presses "add".
inline void AddProject(HWND dialog, const std::string& name) {
    const HWND field = Control(dialog, IDC_PROJECT_NAME);
    TypeText(field, name);
    WaitFor("the name field to take the name", [&] { return WindowText(field) == name; });
    ClickButton(dialog, IDC_ADD);
}

// The system menu's item, as Alt+Space and a click on "Settings..." give it.
inline HWND OpenSettings(const App& app, HWND main) {
    PostMessageW(main, WM_SYSCOMMAND, IDM_SETTINGS, 0);
    return WaitForDialog(app, "Settings");
}

// The edit field inside a drop-down combo box.
inline HWND ComboField(HWND combo) {
    const HWND field = FindWindowExW(combo, nullptr, L"Edit", nullptr);
    if (!field)
        throw CaseAborted("the combo box has no edit field");
    return field;
}

// Returns once the program has handled everything posted to it so far. WM_NULL round trips are
// not enough: a sent message that arrives while the program is still answering an earlier one
// is answered before the posted input. A message posted behind the input is taken after it, so
// this posts a change of the project field's length limit, which nothing else uses, and waits
// until it shows.
inline void FlushPosted(HWND main) {
    static WPARAM s_nMark = 0x10000000;
    const WPARAM mark = ++s_nMark;
    const HWND field = ComboField(Control(main, IDC_PROJECT_COMBO));
    PostMessageW(field, EM_SETLIMITTEXT, mark, 0);
    WaitFor("the program to take its posted input",
            [&] { return static_cast<WPARAM>(Ask(field, EM_GETLIMITTEXT, 0, 0)) == mark; });
}

// Lets everything posted to the program so far be handled; a message box it opened is then
// showing. Without the main dialog (not yet shown) two round trips are the best there is.
inline void SettleAfterInput(const App& app, HWND hwnd) {
    if (const HWND main = app.FindMainDialog()) {
        FlushPosted(main);
        return;
    }
    app.Settle(hwnd);
    app.Settle(hwnd);
}

// Waits for a message box with an OK button, or with `question` for a Yes/No question, and
// checks its caption; the box stays open.
inline MessageBoxInfo WaitForBox(const App& app, bool question, DWORD timeoutMs) {
    const MessageBoxInfo box = *WaitFor(
        question ? "a question" : "a message box",
        [&]() -> std::optional<MessageBoxInfo> {
            for (const MessageBoxInfo& box : OpenMessages(app))
                if (GetDlgItem(box.hwnd, question ? IDNO : IDOK))
                    return box;
            return std::nullopt;
        },
        timeoutMs);
    CHECK_EQ(box.caption, "Quillet");
    return box;
}

inline MessageBoxInfo WaitForMessage(const App& app, DWORD timeoutMs = kWaitMs) {
    return WaitForBox(app, false, timeoutMs);
}

inline MessageBoxInfo ExpectMessage(const App& app, const std::string& text) {
    const MessageBoxInfo box = WaitForMessage(app);
    CHECK_EQ(box.text, text);
    return box;
}

inline void Dismiss(const MessageBoxInfo& box) {
    PressOk(box);
    WaitUntilClosed(box.hwnd);
}

inline void AnswerMessage(const App& app, const std::string& text) {
    Dismiss(ExpectMessage(app, text));
}

// A question has Yes and No, and No is the default.
inline MessageBoxInfo WaitForQuestion(const App& app, DWORD timeoutMs = kWaitMs) {
    const MessageBoxInfo box = WaitForBox(app, true, timeoutMs);
    CHECK(GetDlgItem(box.hwnd, IDYES) != nullptr && GetDlgItem(box.hwnd, IDOK) == nullptr);
    const LONG noStyle = GetWindowLongW(GetDlgItem(box.hwnd, IDNO), GWL_STYLE);
    CHECK_EQ(noStyle & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    return box;
}

inline MessageBoxInfo ExpectQuestion(const App& app, const std::string& text) {
    const MessageBoxInfo box = WaitForQuestion(app);
    CHECK_EQ(box.text, text);
    return box;
}

// Answers a question with IDYES or IDNO and waits until it has closed.
inline void Answer(const MessageBoxInfo& box, int id) {
    PostMessageW(box.hwnd, WM_COMMAND, id, 0);
    WaitUntilClosed(box.hwnd);
}

// After input to `dialog`: no message box is open, nor on its way (it would disable the dialog).
inline void CheckNoMessage(const App& app, HWND dialog) {
    SettleAfterInput(app, dialog);
    CHECK(OpenMessages(app).empty());
    CHECK(IsWindowEnabled(dialog));
}

// Sends the shell `message` about the dialog's icon, with nothing else in it.
inline bool TellShellOfIcon(HWND dialog, DWORD message) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = dialog;
    data.uID = 1;
    return Shell_NotifyIconA(message, &data) != FALSE;
}

// Modifying an icon (with nothing to change) succeeds only while the shell has that icon.
inline bool IconExists(HWND dialog) {
    return TellShellOfIcon(dialog, NIM_MODIFY);
}

// What a restarted taskbar does to every icon; also clears an icon left by a program that an
// earlier case ended by force, should the new dialog have got that program's window handle.
inline void ForgetIcon(HWND dialog) {
    TellShellOfIcon(dialog, NIM_DELETE);
}

// Waits for the idle main dialog; with the project file missing, the message that reports it
// at start-up is answered first. `forTray` waits for the program's first idle moment too: the
// dialog manager shows a dialog then, which would undo a "minimize" handled before it.
inline HWND StartIdle(const App& app, bool bFileMissing = false, bool forTray = false) {
    if (bFileMissing)
        AnswerMessage(app, "Error reading DataBaseFile");
    const HWND main = app.WaitForMainDialog();
    if (forTray) {
        HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, app.Pid());
        REQUIRE(process != nullptr);
        const DWORD waited = WaitForInputIdle(process, kWaitMs);
        CloseHandle(process);
        REQUIRE(waited == 0);
    }
    app.Settle(main);
    CHECK(OpenMessages(app).empty());
    if (forTray) {
        ForgetIcon(main);
        REQUIRE(!IconExists(main));
    }
    return main;
}

// The main dialog's project box as a user sees it: its items, its selection and its field.
struct ProjectBox {
    std::vector<std::string> items;
    int selection = CB_ERR;
    std::string field;
};
inline ProjectBox ReadProjectBox(HWND main) {
    const HWND combo = Control(main, IDC_PROJECT_COMBO);
    return {ComboItems(combo), ComboSelection(combo), WindowText(combo)};
}
inline void CheckProjectBoxUnselected(HWND main, const std::vector<std::string>& items) {
    const ProjectBox box = ReadProjectBox(main);
    CHECK_EQ(box.items, items);
    CHECK_EQ(box.selection, CB_ERR);
    CHECK_EQ(box.field, "");
}

// Picks item `index` of a combo box the way the list does when the user chooses it: the
// selection changes and the owner hears CBN_SELCHANGE.
inline void ChooseComboItem(HWND dialog, int comboId, int index) {
    const HWND combo = Control(dialog, comboId);
    Ask(combo, CB_SETCURSEL, index, 0);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

// A key pressed and released while `control` has the focus.
inline void PressKey(HWND control, UINT vk) {
    const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    PostMessageW(control, WM_KEYDOWN, vk, 1 | (scan << 16));
    PostMessageW(control, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
}

// A key pressed on the real keyboard, which goes to the window in front, once that is
// `expectedInFront`. (PressKey posts the key to one control instead.)
inline void PressKeyInFront(HWND expectedInFront, WORD key) {
    WaitFor("the window to be in front", [&] { return GetForegroundWindow() == expectedInFront; });
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

// The state of the program's user-interface thread: its focus, its modal loops.
inline GUITHREADINFO GuiThreadOf(HWND anyWindowOfApp) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(anyWindowOfApp, nullptr), &info);
    return info;
}

// The window with the keyboard focus in the program's user-interface thread.
inline HWND FocusOf(HWND anyWindowOfApp) {
    return GuiThreadOf(anyWindowOfApp).hwndFocus;
}

// Puts `text` on the clipboard and pastes it into `edit`, as Ctrl+V does.
inline void PasteText(HWND edit, const std::wstring& text) {
    const HWND owner = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    const bool put = OpenClipboard(owner) && EmptyClipboard() &&
                     SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    DestroyWindow(owner);
    if (!put)
        throw CaseAborted("cannot put the text on the clipboard");
    PostMessageW(edit, WM_PASTE, 0, 0);
}

// Replaces the whole text of an edit field, as selecting all and typing does.
inline void SetFieldText(const App& app, HWND edit, const std::string& text) {
    PostMessageW(edit, EM_SETSEL, 0, -1);
    PostMessageW(edit, WM_CLEAR, 0, 0);
    TypeText(edit, text);
    app.Settle(edit);
    WaitFor("the typed text", [&] { return WindowText(edit) == text; });
}

// Seconds of "HH:MM:SS" (the run counter, two or more hour digits) or "HHH:MM:SS" (a time
// line, three or more); -1 when the text is not of that form or a field is 60 or more.
inline long ParseClock(const std::string& text, size_t minHourDigits = 2) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos || colon < minHourDigits || text.size() != colon + 6 ||
        text[colon + 3] != ':' || text[colon + 1] > '5' || text[colon + 4] > '5')
        return -1;
    const std::string digits =
        text.substr(0, colon) + text.substr(colon + 1, 2) + text.substr(colon + 4);
    if (digits.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::stol(text.substr(0, colon)) * 3600 + std::stol(text.substr(colon + 1, 2)) * 60 +
           std::stol(text.substr(colon + 4));
}

inline long ParseTimeLine(const std::string& text) {
    return text.size() == 9 ? ParseClock(text, 3) : -1;
}

// A total as a time line: "%03d:%02d:%02d".
inline std::string FormatTotal(long seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%03ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

// The file after a stop: the same records, with one project's time line replaced.
inline std::string WithTotal(Records records, size_t index, long seconds) {
    records.at(index).second = FormatTotal(seconds);
    return ProjectFileBytes(records);
}

inline std::string Shown(HWND main) {
    return WindowText(Control(main, IDC_TIME_DISPLAY));
}

// The picked or counted project's total under the project box, "Total: HHH:MM:SS".
inline std::string TotalShown(HWND main) {
    return WindowText(Control(main, IDC_TOTAL_DISPLAY));
}

// The line under the run counter that tells of a save that failed.
inline std::string SaveStatus(HWND main) {
    return WindowText(Control(main, IDC_SAVE_STATUS));
}

// The run counter in seconds, checked to be well formed.
inline long ShownSeconds(HWND main) {
    const std::string text = Shown(main);
    const long seconds = ParseClock(text);
    if (seconds < 0)
        throw CaseAborted("the run counter shows " + Quote(text) + ", not HH:MM:SS");
    return seconds;
}

// Waits until the run counter shows other than `from` seconds, or at least `seconds`; returns it.
inline long WaitForShownChange(HWND main, long from, DWORD timeoutMs = kWaitMs) {
    long shown = from;
    WaitFor(
        "the run counter to change", [&] { return (shown = ShownSeconds(main)) != from; },
        timeoutMs);
    return shown;
}

inline long WaitForShownAtLeast(HWND main, long seconds, DWORD timeoutMs = kWaitMs) {
    long shown = 0;
    WaitFor(
        "the run counter to reach a value", [&] { return (shown = ShownSeconds(main)) >= seconds; },
        timeoutMs);
    return shown;
}

// Picks a project in the project box as the user does and lets the program handle it.
inline void Pick(HWND main, int index) {
    ChooseComboItem(main, IDC_PROJECT_COMBO, index);
    FlushPosted(main);
}

// Wine adds the archive mark to whatever it is given.
inline void SetAttributes(const std::string& path, DWORD attributes) {
    REQUIRE(SetFileAttributesW(WidePath(path).c_str(), attributes));
    REQUIRE((Attributes(path) & attributes) == attributes);
}

// Writes the records as the project file (and `ini` as Quillet.ini) and returns the file's bytes.
inline std::string WriteRecords(const Scratch& scratch, const Records& records,
                                const std::string& ini = "", DWORD attributes = 0) {
    const std::string bytes = ProjectFileBytes(records);
    scratch.WriteProjectFile(bytes);
    if (attributes)
        SetAttributes(scratch.ProjectFilePath(), attributes);
    if (!ini.empty())
        WriteFileBytes(scratch.AppDir() + "\\Quillet.ini", ini);
    return bytes;
}

inline void Press(HWND main, int id) {
    ClickButton(main, id);
    FlushPosted(main);
}

// Presses "start" on the picked project and waits for the first counted second; returns it.
inline long StartCount(const App& app, HWND main) {
    Press(main, IDC_START);
    CHECK(OpenMessages(app).empty());
    return WaitForShownChange(main, 0);
}

// Presses "pause" and returns the run counter it holds.
inline long PauseCount(HWND main) {
    Press(main, IDC_PAUSE);
    return ShownSeconds(main);
}

// The run counter stays on `seconds` for over three seconds: the count is not advancing.
inline void CheckHolds(HWND main, long seconds) {
    for (int i = 0; i < 8; ++i) {
        PumpMessages(400);
        CHECK_EQ(ShownSeconds(main), seconds);
    }
}

// Presses "stop" while the count runs; returns the run counter shown right before, as the
// stop may land one second later than that.
inline long StopRunningCount(HWND main) {
    const long before = ShownSeconds(main);
    Press(main, IDC_STOP);
    return before;
}

// Whether the file holds the records with the run's `shown` seconds, or one more, added to the
// loaded total of record `index`; `what` describes the difference for the report.
inline bool HoldsSavedRun(const Scratch& scratch, const Records& records, size_t index, long loaded,
                          long shown, std::string& what) {
    const auto bytes = scratch.ReadProjectFile();
    const std::string expected = WithTotal(records, index, loaded + shown);
    what = "the project file holds record " + std::to_string(index) + "'s total plus " +
           std::to_string(shown) + " s (or 1 s more)\n    actual:   " + Describe(bytes) +
           "\n    expected: " + Describe(expected);
    return bytes == expected || bytes == WithTotal(records, index, loaded + shown + 1);
}

struct Tick {
    long seconds;
    ULONGLONG seenAt;
};

// Waits for the run counter to move on; returns its new value and when it was seen.
inline Tick NextTick(HWND dialog) {
    const long now = WaitForShownChange(dialog, ShownSeconds(dialog));
    return {now, GetTickCount64()};
}

// Gives a count that wrongly runs the time to show it.
inline void LetASecondPass() {
    PumpMessages(1500);
}

inline void StopAndClose(const App& app, HWND dialog) {
    ClickButton(dialog, IDC_STOP);
    RequestClose(dialog);
    CHECK(app.WaitForExit());
}

inline void MinimizeToTray(HWND dialog) {
    ClickButton(dialog, IDC_MINIMIZE);
    WaitFor("the main dialog to hide", [&] { return !IsWindowVisible(dialog); });
}

// What the shell does when the mouse does something over the icon; returns once handled.
inline void MouseOverIcon(HWND dialog, UINT mouseMessage) {
    Ask(dialog, WM_TRAY_NOTIFY, 1, mouseMessage);
}

// Visible windows, of any process, whose class name contains `className`.
inline std::vector<HWND> VisibleWindowsOfClass(const char* className) {
    std::vector<HWND> found;
    for (HWND hwnd : VisibleWindows(true))
        if (ClassName(hwnd).find(className) != std::string::npos)
            found.push_back(hwnd);
    return found;
}

// The window that shows one notification-area icon ("__winex11_tray_icon" in Wine 8).
inline std::vector<HWND> IconWindows() {
    return VisibleWindowsOfClass("tray_icon");
}

// The tip of the icon window, once the shell shows it.
inline HWND ShownTip(HWND icon) {
    DWORD shellPid = 0;
    GetWindowThreadProcessId(icon, &shellPid);
    for (HWND tip : VisibleWindowsOfClass("tooltips_class32")) {
        DWORD pid = 0;
        GetWindowThreadProcessId(tip, &pid);
        if (pid == shellPid)
            return tip;
    }
    return nullptr;
}

// The icon window that is not among `before`, once the shell shows it.
inline HWND WaitForNewIconWindow(const std::vector<HWND>& before) {
    return WaitFor("the icon to appear in the notification area", [&] {
        for (HWND hwnd : IconWindows())
            if (std::find(before.begin(), before.end(), hwnd) == before.end())
                return hwnd;
        return HWND{};
    });
}

// The middle of a window on the screen.
inline POINT CentreOf(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Moves the mouse onto the icon and waits for the shell to show the icon's tip.
inline HWND PointAtIconForItsTip(HWND icon) {
    MoveMouseTo(CentreOf(icon));
    return WaitFor("the icon's tip", [&] { return ShownTip(icon); });
}

// How a case finds Quillet at its start.
struct Setup {
    Setup(Records records = ThreeProjects(), int picked = -1, std::string appFolder = "app",
          std::string ini = "")
        : records(std::move(records)), picked(picked), appFolder(std::move(appFolder)),
          ini(std::move(ini)) {}
    Records records;       // the project file
    int picked;            // the project picked in the project box; -1: none
    std::string appFolder; // the program's folder inside the scratch folder
    std::string ini;       // Quillet.ini beside the program, when not empty
    DWORD attributes = 0;  // file attributes given to the project file
    bool forTray = false;  // waits as StartIdle does for minimizing
    bool noFile = false;   // no project file: the start answers the message that reports it
};

inline Setup NoFile() {
    Setup setup(Records{});
    setup.noFile = true;
    return setup;
}

// Quillet started on `setup`, idle. A case takes its parts with
// `auto& [scratch, records, original, app, main] = scene;`.
struct Scene {
    explicit Scene(Setup setup = {})
        : scratch("", setup.appFolder), records(setup.records),
          original(setup.noFile ? "" : WriteRecords(scratch, records, setup.ini, setup.attributes)),
          app(scratch.ExePath(), scratch.WorkDir()),
          main(StartIdle(app, setup.noFile, setup.forTray)) {
        if (setup.picked >= 0)
            Pick(main, setup.picked);
    }
    // The three projects with project `picked` picked.
    explicit Scene(int picked) : Scene(Setup{ThreeProjects(), picked}) {}
    Scratch scratch;
    Records records;
    std::string original; // the file's bytes before the case changed anything
    App app;
    HWND main;
};

// A scene to be minimized to the notification area.
inline Setup Tray(Records records, int picked = -1) {
    Setup setup{std::move(records), picked};
    setup.forTray = true;
    return setup;
}

// The About box, once open.
inline HWND OpenAbout(const App& app, HWND main) {
    return OpenFromMain(app, main, IDC_ABOUT, "About");
}

// The close box on the idle main dialog, which ends the program.
inline void CloseToExit(const App& app, HWND main) {
    RequestClose(main);
    CHECK(app.WaitForExit());
}

// Presses `button` on a side dialog, which closes it and brings back the main dialog with no
// message.
inline void CloseSideDialog(const App& app, HWND main, HWND dialog, int button) {
    ClickButton(dialog, button);
    WaitUntilClosed(dialog);
    CheckNoMessage(app, main);
}

// A project made through the create dialog, as a user makes one.
inline void CreateProject(const App& app, HWND main, const std::string& name) {
    const HWND dialog = OpenCreateDialog(app, main);
    AddProject(dialog, name);
    WaitUntilClosed(dialog);
    CheckNoMessage(app, main);
}

// For the create dialog's table of refused names: `name`, pasted into the name field (where it
// may keep a line break), is refused on "add" with `message`; the dialog stays, nothing is written.
inline void RefusesName(const std::wstring& name, const std::string& message) {
    Scene scene;
    const HWND dialog = OpenCreateDialog(scene.app, scene.main);
    const HWND field = Control(dialog, IDC_PROJECT_NAME);
    PasteText(field, name);
    SettleAfterInput(scene.app, dialog);
    REQUIRE(WideText(field) == name);
    ClickButton(dialog, IDC_ADD);
    AnswerMessage(scene.app, message);
    CheckNoMessage(scene.app, dialog);
    CHECK(IsWindowVisible(dialog));
    const std::optional<std::string> unchanged = scene.original;
    CHECK_EQ(scene.scratch.ReadProjectFile(), unchanged);
    CloseSideDialog(scene.app, scene.main, dialog, IDC_NEW_CANCEL);
    CHECK_EQ(scene.scratch.ReadProjectFile(), unchanged);
}

// For the cases on saving, on the program's folder and on start-up: what the folder holds while
// Quillet runs (the exe, the project file and the lock file), a count paused, then stopped with no
// message, and the first window the program shows (a message box or the main dialog).
inline const std::vector<std::string> kRunningFolder = {"Projekte.dbu", "Quillet.exe",
                                                        "~Projekte.lock"};
inline long PauseAndStop(const App& app, HWND main) {
    const long held = PauseCount(main);
    Press(main, IDC_STOP);
    CHECK(OpenMessages(app).empty());
    CHECK_EQ(Shown(main), "00:00:00");
    return held;
}
inline HWND WaitForFirstWindow(const App& app) {
    return WaitFor("a window of the program", [&app] {
        const auto boxes = OpenMessages(app);
        return boxes.empty() ? app.FindMainDialog() : boxes.front().hwnd;
    });
}

// For the tray cases: the dialog hidden behind its icon (true), or shown with no icon (false).
inline void CheckBehindIcon(HWND dialog, bool hidden) {
    CHECK_EQ(IsWindowVisible(dialog) == FALSE, hidden);
    CHECK_EQ(IconExists(dialog), hidden);
}
// Minimizes to the tray and returns the window of the icon that then appears.
inline HWND MinimizeToIcon(HWND dialog) {
    const std::vector<HWND> before = IconWindows();
    MinimizeToTray(dialog);
    return WaitForNewIconWindow(before);
}
// The release of the left button over the icon (or `release`) brings the dialog back.
inline void RestoreFromIcon(HWND dialog, UINT release = WM_LBUTTONUP) {
    MouseOverIcon(dialog, release);
    CheckBehindIcon(dialog, false);
}

} // namespace e2e

// The file holds the run that was showing `shown` seconds right before it was stopped.
#define CHECK_SAVED_RUN(scratch, records, index, loaded, shown)                                    \
    do {                                                                                           \
        std::string e2e_what_;                                                                     \
        const bool e2e_ok_ =                                                                       \
            e2e::HoldsSavedRun(scratch, records, index, loaded, shown, e2e_what_);                 \
        e2e::RecordCheck(e2e_ok_, __FILE__, __LINE__, e2e_what_);                                  \
    } while (0)

// The project file holds exactly `bytes`.
#define CHECK_FILE(scratch, bytes)                                                                 \
    CHECK_EQ((scratch).ReadProjectFile(), std::optional<std::string>(bytes))
