// "Settings..." in the main dialog's system menu: the away limit in Quillet.ini beside the exe,
// shown as the file gives it (or the default), checked as it is typed, written keeping the
// user's own lines.
#include "scene.h"

using namespace e2e;

namespace {

const char* const kMsgBadMinutes =
    "Please enter the away limit as a whole number of minutes from 1 to 240, or 0 to turn the "
    "question about time away off.";

std::string IniPath(const Scratch& scratch) {
    return scratch.AppDir() + "\\Quillet.ini";
}

} // namespace

E2E_CASE("settings.away_limit_is_shown_checked_and_written_to_quillet_ini") {
    Scene scene;
    auto& [scratch, records, original, app, main] = scene;
    // No file yet: the default, and Cancel writes nothing.
    HWND dialog = OpenSettings(app, main);
    const LONG okStyle = GetWindowLongW(Control(dialog, IDOK), GWL_STYLE);
    CHECK_EQ(okStyle & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    CHECK_EQ(WindowText(Control(dialog, IDC_AWAY_MINUTES)), "10");
    CHECK_EQ(FocusOf(dialog), Control(dialog, IDC_AWAY_MINUTES));
    ClickButton(dialog, IDCANCEL);
    WaitUntilClosed(dialog);
    CHECK(!FileExists(IniPath(scratch)));

    const std::string mine = "; my settings\r\n[Settings]\r\nAwayMinutes=25\r\n[Other]\r\nX=1\r\n";
    WriteFileBytes(IniPath(scratch), mine);
    dialog = OpenSettings(app, main);
    const HWND field = Control(dialog, IDC_AWAY_MINUTES);
    CHECK_EQ(WindowText(field), "25");
    for (const char* wrong : {"241", ""}) {
        SetFieldText(app, field, wrong);
        ClickButton(dialog, IDOK);
        AnswerMessage(app, kMsgBadMinutes);
        CHECK(IsWindow(dialog));
    }
    CHECK_EQ(ReadFileBytes(IniPath(scratch)), std::optional<std::string>(mine));

    SetFieldText(app, field, "3");
    ClickButton(dialog, IDOK);
    WaitUntilClosed(dialog);
    CheckNoMessage(app, main);
    CHECK_EQ(ReadFileBytes(IniPath(scratch)),
             std::optional<std::string>(
                 "; my settings\r\n[Settings]\r\nAwayMinutes=3\r\n[Other]\r\nX=1\r\n"));
    CHECK_EQ(
        ListFolder(scratch.AppDir()),
        (std::vector<std::string>{"Projekte.dbu", "Quillet.exe", "Quillet.ini", "~Projekte.lock"}));

    // Opened again, the dialog shows what was written.
    dialog = OpenSettings(app, main);
    CHECK_EQ(WindowText(Control(dialog, IDC_AWAY_MINUTES)), "3");
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    WaitUntilClosed(dialog);
}

// While a count runs the settings do not open (the item is greyed); paused, they do.
E2E_CASE("settings.open_only_while_no_count_runs") {
    Scene scene(0);
    StartCount(scene.app, scene.main);
    PostMessageW(scene.main, WM_SYSCOMMAND, IDM_SETTINGS, 0);
    FlushPosted(scene.main);
    CHECK(FindDialog(scene.app, "Settings") == nullptr);
    PauseCount(scene.main);
    const HWND dialog = OpenSettings(scene.app, scene.main);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    WaitUntilClosed(dialog);
    CHECK(!FileExists(IniPath(scene.scratch)));
}
