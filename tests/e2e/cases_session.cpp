// Logging off or shutting down while a count runs or is paused saves its total as stop does:
// once when Windows asks whether the session may end, and again when it ends. A save that
// fails at the question refuses the end with a reason Windows shows. Stopped, nothing is
// written.
#include "scene.h"

using namespace e2e;

namespace {

enum class Count { running, paused, stopped };

// The session ends while a count on `picked` runs, is paused or was stopped: the file holds the
// run's total (after a stop, what it held); nothing counts on; closing is allowed, writes nothing.
void EndWhile(int picked, Count count) {
    auto [scratch, records, original, app, main] = Scene(picked);
    const long loaded = ParseTimeLine(records[picked].second);
    StartCount(app, main);
    WaitForShownAtLeast(main, 2);
    const long shown = count == Count::paused ? PauseCount(main) : ShownSeconds(main);
    std::string expected = WithTotal(records, picked, loaded + shown);
    if (count == Count::stopped) {
        Press(main, IDC_STOP);
        // The file changes behind the program's back (another copy of it stopped a count).
        records[picked].second = "000:00:07";
        expected = ProjectFileBytes(records);
        scratch.WriteProjectFile(expected);
    }

    CHECK(Ask(main, WM_QUERYENDSESSION, 0, 0) != 0);
    Ask(main, WM_ENDSESSION, TRUE, 0);
    if (count == Count::running)
        CHECK_SAVED_RUN(scratch, records, picked, loaded, shown);
    else
        CHECK_FILE(scratch, expected);
    CHECK(OpenMessages(app).empty());
    CHECK_EQ(Shown(main), "00:00:00");
    CheckHolds(main, 0);
    const auto saved = scratch.ReadProjectFile();
    CloseToExit(app, main);
    CHECK_EQ(scratch.ReadProjectFile(), saved);
}

// A save fails while the file is held open, at a stop (whose message then stands open) or at the
// session's end (refused, then forced all the same): the run is held, not stopped, and never
// shown as saved. Once the file can be written, the session's end saves it and is allowed.
void EndAfterAFailedSave(bool atStop) {
    auto [scratch, records, original, app, main] = Scene(0);
    StartCount(app, main);
    WaitForShownAtLeast(main, 2);
    MessageBoxInfo box;
    long held = 0;
    {
        FileLock lock(scratch.ProjectFilePath());
        if (atStop) {
            ClickButton(main, IDC_STOP);
            box = ExpectMessage(app, "Error writing DataBaseFile");
        } else {
            CHECK_EQ(Ask(main, WM_QUERYENDSESSION, 0, 0), 0);
            Ask(main, WM_ENDSESSION, TRUE, 0);
            CHECK(OpenMessages(app).empty());
        }
        held = ShownSeconds(main);
        CHECK(held >= 2);
        CheckHolds(main, held);
        CHECK_FILE(scratch, original);
    }
    CHECK(Ask(main, WM_QUERYENDSESSION, 0, 0) != 0);
    CHECK_FILE(scratch, WithTotal(records, 0, kZetaSeconds + held));
    if (atStop)
        Dismiss(box);
    CHECK_EQ(Shown(main), "00:00:00");
}

} // namespace

E2E_ROW("session.end_while_running_saves_the_total", EndWhile, 0, Count::running);
E2E_ROW("session.end_while_paused_saves_the_held_total", EndWhile, 2, Count::paused);
E2E_ROW("session.end_after_a_stop_writes_nothing", EndWhile, 0, Count::stopped);
E2E_ROW("session.a_save_that_fails_refuses_the_end_and_the_count_is_held", EndAfterAFailedSave,
        false);
E2E_ROW("session.end_under_a_failed_stop_s_message_saves_the_run", EndAfterAFailedSave, true);

// The question saves the count so far, as the minute's checkpoint does, since it is the last
// moment at which Windows waits to hear of a failure.
E2E_CASE("session.end_called_off_keeps_the_question_s_save_and_the_count_goes_on") {
    auto [scratch, records, original, app, main] = Scene(1);
    const long first = StartCount(app, main);

    // Another program called the end off.
    CHECK(Ask(main, WM_QUERYENDSESSION, 0, 0) != 0);
    Ask(main, WM_ENDSESSION, FALSE, 0);
    CHECK_SAVED_RUN(scratch, records, 1, 0, first);
    WaitForShownChange(main, first);
    const long held = PauseAndStop(app, main);
    CHECK_FILE(scratch, WithTotal(records, 1, held));
}
