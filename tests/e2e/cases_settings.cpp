// "Settings..." in the main dialog's system menu: the away limit in Quillet.ini beside the exe,
// shown as the file gives it (or the default), checked as it is typed, written keeping the
// user's own lines.
#include "scene.h"

using namespace e2e;

E2E_CASE("settings.away_limit_is_shown_checked_and_written_to_quillet_ini") {
    auto [scratch, records, original, app, main] = Scene();
    const std::string ini = scratch.AppDir() + "\\Quillet.ini";
    // No file yet: the default, and Cancel writes nothing.
    HWND dialog = OpenSettings(app, main);
    CHECK_EQ(GetWindowLongW(Control(dialog, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    CHECK_EQ(WindowText(Control(dialog, IDC_AWAY_MINUTES)), "10");
    CHECK_EQ(FocusOf(dialog), Control(dialog, IDC_AWAY_MINUTES));
    CloseSideDialog(app, main, dialog, IDCANCEL);
    CHECK(!FileExists(ini));

    const std::string mine = "; my settings\r\n[Settings]\r\nAwayMinutes=25\r\n[Other]\r\nX=1\r\n";
    WriteFileBytes(ini, mine);
    dialog = OpenSettings(app, main);
    const HWND field = Control(dialog, IDC_AWAY_MINUTES);
    CHECK_EQ(WindowText(field), "25");
    for (const char* wrong : {"241", ""}) {
        SetFieldText(app, field, wrong);
        ClickButton(dialog, IDOK);
        AnswerMessage(app, "Please enter the away limit as a whole number of minutes from 1 to "
                           "240, or 0 to turn the question about time away off.");
        CHECK(IsWindow(dialog));
    }
    CHECK_EQ(ReadFileBytes(ini), std::optional<std::string>(mine));

    SetFieldText(app, field, "3");
    CloseSideDialog(app, main, dialog, IDOK);
    CHECK_EQ(ReadFileBytes(ini),
             std::optional<std::string>(
                 "; my settings\r\n[Settings]\r\nAwayMinutes=3\r\n[Other]\r\nX=1\r\n"));
    CHECK_EQ(
        ListFolder(scratch.AppDir()),
        (std::vector<std::string>{"Projekte.dbu", "Quillet.exe", "Quillet.ini", "~Projekte.lock"}));

    // Opened again, the dialog shows what was written.
    dialog = OpenSettings(app, main);
    CHECK_EQ(WindowText(Control(dialog, IDC_AWAY_MINUTES)), "3");
    CloseSideDialog(app, main, dialog, IDCANCEL);
}

// While a count runs the settings do not open (the item is greyed); paused, they do.
E2E_CASE("settings.open_only_while_no_count_runs") {
    Scene scene(0);
    StartCount(scene.app, scene.main);
    PostMessageW(scene.main, WM_SYSCOMMAND, IDM_SETTINGS, 0);
    FlushPosted(scene.main);
    CHECK(FindDialog(scene.app, "Settings") == nullptr);
    PauseCount(scene.main);
    CloseSideDialog(scene.app, scene.main, OpenSettings(scene.app, scene.main), IDCANCEL);
    CHECK(!FileExists(scene.scratch.AppDir() + "\\Quillet.ini"));
}
