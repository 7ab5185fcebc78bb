// The icon as a user meets it: Wine's notification area shows it with the tip "Quillet 1.0", and
// the real mouse brings the dialog back on the release of the left button, not on the press.
#include "cases_tray_about.h"

#include <algorithm>
#include <vector>

using namespace e2e;
using namespace e2e::trayabout;

namespace {

struct Collected {
    std::vector<HWND> windows;
    const char* className;
};

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param) {
    auto* collected = reinterpret_cast<Collected*>(param);
    if (IsWindowVisible(hwnd) && ClassName(hwnd).find(collected->className) != std::string::npos)
        collected->windows.push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM param) {
    CollectChild(hwnd, param);
    EnumChildWindows(hwnd, CollectChild, param);
    return TRUE;
}

// Visible windows, of any process, whose class name contains `className`.
std::vector<HWND> VisibleWindowsOfClass(const char* className) {
    Collected collected{{}, className};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&collected));
    return collected.windows;
}

// The window that shows one notification-area icon ("__winex11_tray_icon" in Wine 8).
std::vector<HWND> IconWindows() {
    return VisibleWindowsOfClass("tray_icon");
}

// The tip of the icon window, once the shell shows it.
HWND ShownTip(HWND icon) {
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

void MouseButton(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

} // namespace

E2E_CASE("tray.mouse_over_the_icon_shows_its_tip_and_its_release_restores_the_dialog") {
    Scratch scratch;
    scratch.WriteProjectFile(ProjectFileBytes({{"Alpha", "000:00:00"}}));
    App app(scratch.ExePath(), scratch.WorkDir());
    const HWND dialog = WaitForIdleDialog(app);
    const std::vector<HWND> before = IconWindows();

    MinimizeToTray(dialog);
    const HWND icon = WaitFor("the icon to appear in the notification area", [&] {
        for (HWND hwnd : IconWindows())
            if (std::find(before.begin(), before.end(), hwnd) == before.end())
                return hwnd;
        return HWND{};
    });
    RECT rect{};
    GetWindowRect(icon, &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    MouseButton(MOUSEEVENTF_MOVE);
    const HWND tip = WaitFor("the icon's tip", [&] { return ShownTip(icon); });
    CHECK_EQ(WindowText(tip), "Quillet 1.0");
    app.Settle(dialog);
    CHECK(!IsWindowVisible(dialog));

    // The press hides the tip on its way to the icon, which passes it on to the program.
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    WaitFor("the press to reach the icon", [&] { return !IsWindowVisible(tip); });
    Ask(icon, WM_NULL);
    app.Settle(dialog);
    CHECK(!IsWindowVisible(dialog));
    CHECK(IconExists(dialog));

    MouseButton(MOUSEEVENTF_LEFTUP);
    CHECK(Eventually([&] { return IsWindowVisible(dialog) != FALSE; }));
    CHECK(Eventually([&] { return !IconExists(dialog); }));
    CHECK(Eventually([&] { return !IsWindow(icon); }));
    CHECK(app.FindMainDialog() == dialog);

    RequestClose(dialog);
    CHECK(app.WaitForExit());
}
