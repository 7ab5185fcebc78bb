// The icon as a user meets it: Wine's notification area shows it with the tip "Quillet 1.0", and
// the real mouse brings the dialog back on the release of the left button, not on the press.
#include "cases_tray_about.h"

#include <vector>

using namespace e2e;
using namespace e2e::trayabout;

E2E_CASE("tray.mouse_over_the_icon_shows_its_tip_and_its_release_restores_the_dialog") {
    Scratch scratch;
    scratch.WriteProjectFile(ProjectFileBytes({{"Alpha", "000:00:00"}}));
    App app(scratch.ExePath(), scratch.WorkDir());
    const HWND dialog = WaitForIdleDialog(app);
    const std::vector<HWND> before = IconWindows();

    MinimizeToTray(dialog);
    const HWND icon = WaitForNewIconWindow(before);
    const HWND tip = PointAtIconForItsTip(icon);
    CHECK_EQ(WindowText(tip), "Quillet 1.0");
    app.Settle(dialog);
    CHECK(!IsWindowVisible(dialog));

    // The press hides the tip on its way to the icon, which passes it on to the program.
    MouseInput(MOUSEEVENTF_LEFTDOWN);
    WaitFor("the press to reach the icon", [&] { return !IsWindowVisible(tip); });
    Ask(icon, WM_NULL);
    app.Settle(dialog);
    CHECK(!IsWindowVisible(dialog));
    CHECK(IconExists(dialog));

    MouseInput(MOUSEEVENTF_LEFTUP);
    CHECK(Eventually([&] { return IsWindowVisible(dialog) != FALSE; }));
    CHECK(Eventually([&] { return !IconExists(dialog); }));
    CHECK(Eventually([&] { return !IsWindow(icon); }));
    CHECK(app.FindMainDialog() == dialog);

    RequestClose(dialog);
    CHECK(app.WaitForExit());
}
