// Logging off or shutting down while a count runs or is paused saves its total as stop does:
// once when Windows asks whether the session may end, and again when it ends. A save that
// fails at the question refuses the end with a reason Windows shows. Stopped, nothing is
// written.
#include "scene.h"

using namespace e2e;

namespace {

// What Windows sends the main window when the user logs off or shuts down; `ending` false
// when another program called it off.
void EndSession(HWND main, bool ending) {
    CHECK(Ask(main, WM_QUERYENDSESSION, 0, 0) != 0);
    Ask(main, WM_ENDSESSION, ending ? TRUE : FALSE, 0);
}

} // namespace

E2E_CASE("session.end_while_running_saves_the_total") {
    Scene scene(0);
    auto& [scratch, records, original, app, main] = scene;
    StartCount(app, main);
    WaitForShownAtLeast(main, 2);

    const long shown = ShownSeconds(main);
    EndSession(main, true);
    CHECK_SAVED_RUN(scratch, records, 0, kZetaSeconds, shown);
    CHECK(OpenMessages(app).empty());

    // The count is over: nothing counts on, and closing is not refused.
    CheckHolds(main, 0);
    const auto saved = scratch.ReadProjectFile();
    CloseToExit(app, main);
    CHECK_EQ(scratch.ReadProjectFile(), saved);
}

E2E_CASE("session.end_while_paused_saves_the_held_total") {
    Scene scene(2);
    auto& [scratch, records, original, app, main] = scene;
    StartCount(app, main);
    WaitForShownAtLeast(main, 2);
    const long held = PauseCount(main);

    EndSession(main, true);
    CHECK_FILE(scratch, WithTotal(records, 2, kBueroSeconds + held));
    CHECK(OpenMessages(app).empty());
    CHECK_EQ(Shown(main), "00:00:00");
}

// The question saves the count so far, as the minute's checkpoint does, since it is the last
// moment at which Windows waits to hear of a failure.
E2E_CASE("session.end_called_off_keeps_the_question_s_save_and_the_count_goes_on") {
    Scene scene(1);
    auto& [scratch, records, original, app, main] = scene;
    const long first = StartCount(app, main);

    EndSession(main, false);
    CHECK_SAVED_RUN(scratch, records, 1, 0, first);
    WaitForShownChange(main, first);

    const long held = PauseCount(main);
    Press(main, IDC_STOP);
    CHECK_FILE(scratch, WithTotal(records, 1, held));
}

E2E_CASE("session.end_after_a_stop_writes_nothing") {
    Scene scene(0);
    auto& [scratch, records, original, app, main] = scene;
    StartCount(app, main);
    Press(main, IDC_STOP);

    // The file changes behind the program's back (another copy of it stopped a count).
    records[0].second = "000:00:07";
    const std::string edited = ProjectFileBytes(records);
    scratch.WriteProjectFile(edited);
    EndSession(main, true);
    CHECK_FILE(scratch, edited);
    CHECK(OpenMessages(app).empty());
    CHECK_EQ(Shown(main), "00:00:00");
}

E2E_CASE("session.a_save_that_fails_refuses_the_end_and_the_count_is_held") {
    Scene scene(0);
    auto& [scratch, records, original, app, main] = scene;
    StartCount(app, main);
    WaitForShownAtLeast(main, 2);
    long held = 0;
    {
        FileLock lock(scratch.ProjectFilePath());
        CHECK_EQ(Ask(main, WM_QUERYENDSESSION, 0, 0), 0);
        // Forced to end all the same: nothing shown, the count held and never shown as saved.
        Ask(main, WM_ENDSESSION, TRUE, 0);
        CHECK(OpenMessages(app).empty());
        held = ShownSeconds(main);
        CHECK(held >= 2);
        CheckHolds(main, held);
        CHECK_FILE(scratch, original);
    }
    // Asked again once the file can be written, the held count is saved and the end allowed.
    CHECK(Ask(main, WM_QUERYENDSESSION, 0, 0) != 0);
    CHECK_EQ(Shown(main), "00:00:00");
    CHECK_FILE(scratch, WithTotal(records, 0, kZetaSeconds + held));
}

// While the message about a failed stop stands open the run is held, not stopped: a session end
// in that moment, once the file can be written again, saves it.
E2E_CASE("session.end_under_a_failed_stop_s_message_saves_the_run") {
    Scene scene(0);
    auto& [scratch, records, original, app, main] = scene;
    StartCount(app, main);
    WaitForShownAtLeast(main, 2);
    MessageBoxInfo box;
    long held = 0;
    {
        FileLock lock(scratch.ProjectFilePath());
        ClickButton(main, IDC_STOP);
        box = ExpectMessage(app, "Error writing DataBaseFile");
        held = ShownSeconds(main);
    }
    CHECK(Ask(main, WM_QUERYENDSESSION, 0, 0) != 0);
    CHECK_FILE(scratch, WithTotal(records, 0, kZetaSeconds + held));
    Dismiss(box);
    CHECK_EQ(Shown(main), "00:00:00");
}
