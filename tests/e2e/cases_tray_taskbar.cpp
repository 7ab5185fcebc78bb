// "TaskbarCreated" comes from a restarted taskbar, which has lost its icons, and also to a program
// whose icon the shell still holds (sent by another program, or a rebuild that kept the icons).
// Either way the icon is there afterwards, the dialog stays behind it, and it keeps working.
#include "scene.h"

using namespace e2e;

static void TaskbarAnnounced(bool iconLost) {
    auto [scratch, records, original, app, dialog] = Scene(Tray({{"Alpha", "000:00:00"}}, -1));
    MinimizeToTray(dialog);
    REQUIRE(IconExists(dialog));
    if (iconLost) {
        ForgetIcon(dialog);
        REQUIRE(!IconExists(dialog));
    }

    Ask(dialog, RegisterWindowMessageA("TaskbarCreated"));
    CheckBehindIcon(dialog, true);
    RestoreFromIcon(dialog);
    // And "minimize" still leads to the tray.
    Press(dialog, IDC_MINIMIZE);
    CheckBehindIcon(dialog, true);

    MouseOverIcon(dialog, WM_LBUTTONUP);
    ForgetIcon(dialog);
    CloseToExit(app, dialog);
}
E2E_ROW("tray.icon_lost_by_a_restarted_taskbar_comes_back", TaskbarAnnounced, true);
E2E_ROW("tray.taskbar_announcement_with_the_icon_still_there_keeps_the_dialog_hidden",
        TaskbarAnnounced, false);
