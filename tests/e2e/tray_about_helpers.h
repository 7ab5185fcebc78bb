// Helpers shared by the tray and About cases: bringing the counter into a state, reading the run
// counter, asking the shell about the notification-area icon and finding the windows that show
// it on the screen.
#pragma once

#include "Check.h"
#include "Driver.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "resource.h"

namespace e2e {
namespace trayabout {

inline NOTIFYICONDATAA IconKey(HWND dialog) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = dialog;
    data.uID = 1;
    return data;
}

// Modifying an icon (with nothing to change) succeeds only while the shell has that icon.
inline bool IconExists(HWND dialog) {
    NOTIFYICONDATAA data = IconKey(dialog);
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

// What a restarted taskbar does to every icon; also clears an icon left by a program that an
// earlier case ended by force, should the new dialog have got that program's window handle.
inline void ForgetIcon(HWND dialog) {
    NOTIFYICONDATAA data = IconKey(dialog);
    Shell_NotifyIconA(NIM_DELETE, &data);
}

// The dialog manager shows a dialog the first time its message queue runs empty, which would
// undo a "minimize" handled before that moment. Waits for the program to go idle first.
inline HWND WaitForIdleDialog(const App& app) {
    const HWND dialog = app.WaitForMainDialog();
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, app.Pid());
    REQUIRE(process != nullptr);
    const DWORD waited = WaitForInputIdle(process, kWaitMs);
    CloseHandle(process);
    REQUIRE(waited == 0);
    app.Settle(dialog);
    ForgetIcon(dialog);
    REQUIRE(!IconExists(dialog));
    return dialog;
}

inline std::string Display(HWND dialog) {
    return WindowText(Control(dialog, IDC_TIME_DISPLAY));
}

// The run counter "HH:MM:SS" as seconds.
inline long DisplaySeconds(HWND dialog) {
    const std::string text = Display(dialog);
    if (text.size() != 8 || text[2] != ':' || text[5] != ':')
        throw CaseAborted("the run counter shows " + Quote(text));
    return std::atol(text.c_str()) * 3600 + std::atol(text.c_str() + 3) * 60 +
           std::atol(text.c_str() + 6);
}

// Sent rather than posted: returns once the program has handled the click. Only for commands
// that open no modal loop.
inline void ClickButtonNow(HWND dialog, int id) {
    Ask(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
        reinterpret_cast<LPARAM>(Control(dialog, id)));
}

// Picks the first project and starts a count; returns once the run counter has moved.
inline void StartCount(HWND dialog) {
    const HWND combo = Control(dialog, IDC_PROJECT_COMBO);
    Ask(combo, CB_SETCURSEL, 0);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_PROJECT_COMBO, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    ClickButton(dialog, IDC_START);
    WaitFor("the run counter to start", [&] { return DisplaySeconds(dialog) >= 1; });
}

struct Tick {
    long seconds;
    ULONGLONG seenAt;
};

// Waits for the run counter to move on; returns its new value and when it was seen.
inline Tick NextTick(HWND dialog) {
    const long before = DisplaySeconds(dialog);
    long now = before;
    WaitFor("the run counter to move on", [&] { return (now = DisplaySeconds(dialog)) != before; });
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

struct Collected {
    std::vector<HWND> windows;
    const char* className;
};

inline BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param) {
    auto* collected = reinterpret_cast<Collected*>(param);
    if (IsWindowVisible(hwnd) && ClassName(hwnd).find(collected->className) != std::string::npos)
        collected->windows.push_back(hwnd);
    return TRUE;
}

inline BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM param) {
    CollectChild(hwnd, param);
    EnumChildWindows(hwnd, CollectChild, param);
    return TRUE;
}

// Visible windows, of any process, whose class name contains `className`.
inline std::vector<HWND> VisibleWindowsOfClass(const char* className) {
    Collected collected{{}, className};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&collected));
    return collected.windows;
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

inline void MouseInput(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

// Moves the mouse onto the icon and waits for the shell to show the icon's tip.
inline HWND PointAtIconForItsTip(HWND icon) {
    RECT rect{};
    GetWindowRect(icon, &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    MouseInput(MOUSEEVENTF_MOVE);
    return WaitFor("the icon's tip", [&] { return ShownTip(icon); });
}

} // namespace trayabout
} // namespace e2e
