// "TaskbarCreated" also reaches a program whose icon the shell still holds (another program may
// send it, or the taskbar may be rebuilt without losing its icons): the dialog stays behind the
// icon, and the icon keeps working.
#include "scene.h"

using namespace e2e;

E2E_CASE("tray.taskbar_announcement_with_the_icon_still_there_keeps_the_dialog_hidden") {
    Scene scene(Tray({{"Alpha", "000:00:00"}}, -1));
    auto& [scratch, records, original, app, dialog] = scene;
    MinimizeToTray(dialog);
    REQUIRE(IconExists(dialog));

    Ask(dialog, RegisterWindowMessageA("TaskbarCreated"));
    CHECK(!IsWindowVisible(dialog));
    CHECK(IconExists(dialog));

    MouseOverIcon(dialog, WM_LBUTTONUP);
    CHECK(IsWindowVisible(dialog));
    CHECK(!IconExists(dialog));
    // And "minimize" still leads to the tray.
    Press(dialog, IDC_MINIMIZE);
    CHECK(!IsWindowVisible(dialog));
    CHECK(IconExists(dialog));

    MouseOverIcon(dialog, WM_LBUTTONUP);
    ForgetIcon(dialog);
    CloseToExit(app, dialog);
}
