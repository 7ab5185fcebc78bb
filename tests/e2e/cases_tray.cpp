// The notification-area icon: "minimize" hides the main dialog behind it in every counter state,
// the count going on (or staying paused), and only the release of the left mouse button over
// the icon brings the dialog back and takes the icon away.
#include "scene.h"

using namespace e2e;

static const Records kOneProject = {{"Alpha", "001:00:00"}};

E2E_CASE("tray.minimize_when_stopped_hides_the_dialog_behind_the_icon") {
    auto [scratch, records, original, app, dialog] = Scene(Tray(kOneProject, -1));
    MinimizeToTray(dialog);
    CHECK(IconExists(dialog));
    CHECK(app.FindMainDialog() == nullptr);
    CHECK(app.Windows().empty());
    CHECK_EQ(Shown(dialog), "00:00:00");

    RestoreFromIcon(dialog);
    CHECK(app.FindMainDialog() == dialog);
    CHECK_EQ(Shown(dialog), "00:00:00");
    // Still stopped: the close box ends the program without a word.
    CloseToExit(app, dialog);
    CHECK_FILE(scratch, original);
}

// Hidden, the dialog draws nothing; the icon tells the count instead: its tip names the project,
// the state and the run's time, and its face shows whether the count runs or is paused.
E2E_CASE("tray.minimize_while_running_keeps_counting_and_the_icon_tells_of_it") {
    auto [scratch, records, original, app, dialog] = Scene(Tray(kOneProject, 0));
    StartCount(app, dialog);
    const Tick before = NextTick(dialog);
    const std::string shownBefore = Shown(dialog);

    const HWND icon = MinimizeToIcon(dialog);
    CHECK(IconExists(dialog));
    CHECK_EQ(WindowText(PointAtIconForItsTip(icon)), "Alpha: running 00:00");
    RECT iconRect{};
    GetWindowRect(icon, &iconRect);
    const std::vector<uint32_t> running = CaptureScreen(iconRect);
    LetASecondPass();
    CHECK_EQ(Shown(dialog), shownBefore);
    CheckBehindIcon(dialog, true);

    // The count went on behind the icon, hidden time included.
    RestoreFromIcon(dialog);
    const Tick after = NextTick(dialog);
    CHECK_NEAR(after.seconds - before.seconds,
               static_cast<long>((after.seenAt - before.seenAt + 500) / 1000), 1);

    Press(dialog, IDC_PAUSE);
    GetWindowRect(MinimizeToIcon(dialog), &iconRect);
    CHECK(Eventually([&] { return CaptureScreen(iconRect) != running; }));
    MouseOverIcon(dialog, WM_LBUTTONUP);
    StopAndClose(app, dialog);
}

E2E_CASE("tray.minimize_while_paused_keeps_the_count_paused") {
    auto [scratch, records, original, app, dialog] = Scene(Tray(kOneProject, 0));
    StartCount(app, dialog);
    const long pausedSeconds = PauseCount(dialog);

    MinimizeToTray(dialog);
    CheckHolds(dialog, pausedSeconds);
    CheckBehindIcon(dialog, true);

    RestoreFromIcon(dialog);
    CheckHolds(dialog, pausedSeconds);
    // Still paused, not stopped: closing is refused, and "pause" resumes from the same count (a
    // busy machine may skip a second).
    RequestClose(dialog);
    AnswerMessage(app, kStopFirst);
    ClickButton(dialog, IDC_PAUSE);
    CHECK_NEAR(NextTick(dialog).seconds, pausedSeconds + 1, 1);

    StopAndClose(app, dialog);
}

E2E_CASE("tray.icon_ignores_every_mouse_message_but_the_left_release") {
    auto [scratch, records, original, app, dialog] = Scene(Tray(kOneProject, -1));
    MinimizeToTray(dialog);

    for (UINT message :
         {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP,
          WM_RBUTTONDBLCLK, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_CONTEXTMENU}) {
        MouseOverIcon(dialog, message);
        CheckBehindIcon(dialog, true);
    }
    CHECK(app.Windows().empty());

    RestoreFromIcon(dialog);
    // A late release with the dialog already back changes nothing.
    RestoreFromIcon(dialog);

    // The way to the tray works again after a round trip.
    MinimizeToTray(dialog);
    CHECK(IconExists(dialog));
    RestoreFromIcon(dialog);

    CloseToExit(app, dialog);
}

E2E_CASE("tray.second_copy_brings_the_hidden_dialog_back") {
    auto [scratch, records, original, first, dialog] = Scene(Tray(kOneProject));
    MinimizeToTray(dialog);
    REQUIRE(IconExists(dialog));

    App second(scratch.ExePath(), scratch.WorkDir());
    CHECK(second.WaitForExit());
    CHECK(Eventually([&] { return IsWindowVisible(dialog) && !IconExists(dialog); }));
    CHECK(first.FindMainDialog() == dialog);
    CHECK(OpenMessages(first).empty());

    CloseToExit(first, dialog);
}
