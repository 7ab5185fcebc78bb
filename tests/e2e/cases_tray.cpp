// The notification-area icon: "minimize" hides the main dialog behind an icon in every counter
// state, the count goes on (or stays paused) meanwhile, and only the release of the left mouse
// button over the icon brings the dialog back and takes the icon away.
//
// Whether the icon exists is asked of the shell itself: modifying an icon (nothing changed) with
// the dialog's window and id 1 succeeds only while that icon is in the notification area.
#include "scene.h"

using namespace e2e;

namespace {

const Records kOneProject = {{"Alpha", "001:00:00"}};

} // namespace

E2E_CASE("tray.minimize_when_stopped_hides_the_dialog_behind_the_icon") {
    Scene scene(Tray(kOneProject, -1));
    auto& [scratch, records, original, app, dialog] = scene;

    MinimizeToTray(dialog);
    CHECK(IconExists(dialog));
    CHECK(app.FindMainDialog() == nullptr);
    CHECK(app.Windows().empty());
    CHECK_EQ(Shown(dialog), "00:00:00");

    MouseOverIcon(dialog, WM_LBUTTONUP);
    CHECK(IsWindowVisible(dialog));
    CHECK(app.FindMainDialog() == dialog);
    CHECK(!IconExists(dialog));
    CHECK_EQ(Shown(dialog), "00:00:00");
    // Still stopped: the close box ends the program without a word.
    CloseToExit(app, dialog);
    CHECK_FILE(scratch, original);
}

// Hidden, the dialog draws nothing; the icon tells the count instead: its tip names the project,
// the state and the run's time, and its face shows whether the count runs or is paused.
E2E_CASE("tray.minimize_while_running_keeps_counting_and_the_icon_tells_of_it") {
    Scene scene(Tray(kOneProject, 0));
    auto& [scratch, records, original, app, dialog] = scene;
    StartCount(app, dialog);
    const Tick before = NextTick(dialog);
    const std::string shownBefore = Shown(dialog);
    const std::vector<HWND> icons = IconWindows();

    MinimizeToTray(dialog);
    CHECK(IconExists(dialog));
    const HWND icon = WaitForNewIconWindow(icons);
    CHECK_EQ(WindowText(PointAtIconForItsTip(icon)), "Alpha: running 00:00");
    RECT iconRect{};
    GetWindowRect(icon, &iconRect);
    const std::vector<uint32_t> running = CaptureScreen(iconRect);
    LetASecondPass();
    CHECK_EQ(Shown(dialog), shownBefore);
    CHECK(!IsWindowVisible(dialog));

    // The count went on behind the icon, hidden time included.
    MouseOverIcon(dialog, WM_LBUTTONUP);
    CHECK(IsWindowVisible(dialog));
    CHECK(!IconExists(dialog));
    const Tick after = NextTick(dialog);
    CHECK_NEAR(after.seconds - before.seconds,
               static_cast<long>((after.seenAt - before.seenAt + 500) / 1000), 1);

    Press(dialog, IDC_PAUSE);
    const std::vector<HWND> shownIcons = IconWindows();
    MinimizeToTray(dialog);
    const HWND pausedIcon = WaitForNewIconWindow(shownIcons);
    GetWindowRect(pausedIcon, &iconRect);
    CHECK(Eventually([&] { return CaptureScreen(iconRect) != running; }));
    MouseOverIcon(dialog, WM_LBUTTONUP);
    StopAndClose(app, dialog);
}

E2E_CASE("tray.minimize_while_paused_keeps_the_count_paused") {
    Scene scene(Tray(kOneProject, 0));
    auto& [scratch, records, original, app, dialog] = scene;
    StartCount(app, dialog);
    Press(dialog, IDC_PAUSE);
    const std::string paused = Shown(dialog);
    const long pausedSeconds = ShownSeconds(dialog);

    MinimizeToTray(dialog);
    CHECK(IconExists(dialog));
    LetASecondPass();
    CHECK_EQ(Shown(dialog), paused);
    CHECK(!IsWindowVisible(dialog));

    MouseOverIcon(dialog, WM_LBUTTONUP);
    CHECK(IsWindowVisible(dialog));
    CHECK(!IconExists(dialog));
    LetASecondPass();
    CHECK_EQ(Shown(dialog), paused);
    // Still paused, not stopped: closing is refused, and "pause" resumes from the same count.
    RequestClose(dialog);
    AnswerMessage(app, kStopFirst);
    ClickButton(dialog, IDC_PAUSE);
    // (A busy machine may skip a second.)
    CHECK_NEAR(NextTick(dialog).seconds, pausedSeconds + 1, 1);

    StopAndClose(app, dialog);
}

E2E_CASE("tray.icon_ignores_every_mouse_message_but_the_left_release") {
    Scene scene(Tray(kOneProject, -1));
    auto& [scratch, records, original, app, dialog] = scene;
    MinimizeToTray(dialog);

    const UINT ignored[] = {WM_MOUSEMOVE,   WM_LBUTTONDOWN, WM_LBUTTONDBLCLK,
                            WM_RBUTTONDOWN, WM_RBUTTONUP,   WM_RBUTTONDBLCLK,
                            WM_MBUTTONDOWN, WM_MBUTTONUP,   WM_CONTEXTMENU};
    for (UINT message : ignored) {
        MouseOverIcon(dialog, message);
        CHECK(!IsWindowVisible(dialog));
        CHECK(IconExists(dialog));
    }
    CHECK(app.Windows().empty());

    MouseOverIcon(dialog, WM_LBUTTONUP);
    CHECK(IsWindowVisible(dialog));
    CHECK(!IconExists(dialog));
    // A late release with the dialog already back changes nothing.
    MouseOverIcon(dialog, WM_LBUTTONUP);
    CHECK(IsWindowVisible(dialog));
    CHECK(!IconExists(dialog));

    // The way to the tray works again after a round trip.
    MinimizeToTray(dialog);
    CHECK(IconExists(dialog));
    MouseOverIcon(dialog, WM_LBUTTONUP);
    CHECK(IsWindowVisible(dialog));
    CHECK(!IconExists(dialog));

    CloseToExit(app, dialog);
}

E2E_CASE("tray.icon_lost_by_a_restarted_taskbar_comes_back") {
    Scene scene(Tray(kOneProject, -1));
    auto& [scratch, records, original, app, dialog] = scene;
    MinimizeToTray(dialog);

    // A restarted taskbar starts without icons and announces itself to every program.
    ForgetIcon(dialog);
    REQUIRE(!IconExists(dialog));
    Ask(dialog, RegisterWindowMessageA("TaskbarCreated"));
    CHECK(IconExists(dialog));
    CHECK(!IsWindowVisible(dialog));

    MouseOverIcon(dialog, WM_LBUTTONUP);
    CHECK(IsWindowVisible(dialog));
    CHECK(!IconExists(dialog));

    CloseToExit(app, dialog);
}

E2E_CASE("tray.second_copy_brings_the_hidden_dialog_back") {
    Scene scene(Tray(kOneProject));
    auto& [scratch, records, original, first, dialog] = scene;
    MinimizeToTray(dialog);
    REQUIRE(IconExists(dialog));

    App second(scratch.ExePath(), scratch.WorkDir());
    CHECK(second.WaitForExit());
    CHECK(Eventually([&] { return IsWindowVisible(dialog) != FALSE; }));
    CHECK(Eventually([&] { return !IconExists(dialog); }));
    CHECK(first.FindMainDialog() == dialog);
    CHECK(OpenMessages(first).empty());

    CloseToExit(first, dialog);
}
