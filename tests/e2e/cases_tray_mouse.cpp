// The icon as a user meets it: Wine's notification area shows it with the tip "Quillet 1.0", and
// the real mouse brings the dialog back on the release of the left button, not on the press.
#include "scene.h"

using namespace e2e;

E2E_CASE("tray.mouse_over_the_icon_shows_its_tip_and_its_release_restores_the_dialog") {
    auto [scratch, records, original, app, dialog] = Scene(Tray({{"Alpha", "000:00:00"}}, -1));
    const HWND icon = MinimizeToIcon(dialog);
    const HWND tip = PointAtIconForItsTip(icon);
    CHECK_EQ(WindowText(tip), "Quillet 1.0");
    app.Settle(dialog);
    CHECK(!IsWindowVisible(dialog));

    // The press hides the tip on its way to the icon, which passes it on to the program.
    MouseButtonAt(CentreOf(icon), true);
    WaitFor("the press to reach the icon", [&] { return !IsWindowVisible(tip); });
    Ask(icon, WM_NULL);
    app.Settle(dialog);
    CheckBehindIcon(dialog, true);

    MouseButtonAt(CentreOf(icon), false);
    CHECK(Eventually(
        [&] { return IsWindowVisible(dialog) && !IconExists(dialog) && !IsWindow(icon); }));
    CHECK(app.FindMainDialog() == dialog);

    CloseToExit(app, dialog);
}

// A version 4 icon hears of events in lParam's low word, its id in the high word. Selecting it
// from the keyboard (Win+B, arrows, Enter or Space) sends NIN_KEYSELECT, which restores the
// dialog as NIN_SELECT does; the right button and the context menu request stay ignored.
E2E_CASE("tray.keyboard_selection_of_the_icon_restores_the_dialog") {
    auto [scratch, records, original, app, dialog] = Scene(Tray({{"Alpha", "000:00:00"}}, -1));

    for (UINT selection : {UINT{NIN_KEYSELECT}, UINT{NIN_SELECT}}) {
        MinimizeToTray(dialog);
        for (UINT ignored : {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU, WM_LBUTTONDOWN}) {
            MouseOverIcon(dialog, MAKELPARAM(ignored, 1));
            CheckBehindIcon(dialog, true);
        }
        RestoreFromIcon(dialog, MAKELPARAM(selection, 1));
    }
    // The release in the same form restores too.
    MinimizeToTray(dialog);
    RestoreFromIcon(dialog, MAKELPARAM(WM_LBUTTONUP, 1));

    CloseToExit(app, dialog);
}
