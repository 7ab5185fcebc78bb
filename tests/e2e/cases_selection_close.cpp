// The close guard: while a count runs or is paused, the close box, Esc and Enter are refused with
// "Please stop counter first"; once stopped, closing ends the program and writes nothing more.
#include "scene.h"

using namespace e2e;

static void ExpectRefusal(const App& app, HWND main) {
    AnswerMessage(app, kStopFirst);
    CHECK(app.IsRunning());
    CHECK(app.FindMainDialog() == main);
}

// Esc and Enter, as the dialog manager's commands (IDCANCEL, IDOK) and as keys pressed in the
// project box, are each refused.
static void CheckEscapeAndEnterRefused(const App& app, HWND main) {
    for (int id : {IDCANCEL, IDOK}) {
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        ExpectRefusal(app, main);
    }
    for (UINT key : {VK_ESCAPE, VK_RETURN}) {
        PressKey(ComboField(Control(main, IDC_PROJECT_COMBO)), key);
        ExpectRefusal(app, main);
    }
}

// After the stop, closing ends the program and leaves the file as the stop wrote it.
static void CloseAfterStop(const App& app, const Scratch& scratch, HWND main) {
    const auto saved = scratch.ReadProjectFile();
    CloseToExit(app, main);
    CHECK(OpenMessages(app).empty());
    CHECK_EQ(scratch.ReadProjectFile(), saved);
}

E2E_CASE("close.refused_while_running_and_the_count_goes_on") {
    auto [scratch, records, original, app, main] = Scene(0);
    StartCount(app, main);

    RequestClose(main);
    ExpectRefusal(app, main);
    const long shown = WaitForShownChange(main, ShownSeconds(main));

    // Esc and Enter are refused the same way while the count runs.
    CheckEscapeAndEnterRefused(app, main);
    WaitForShownChange(main, shown);

    CHECK_SAVED_RUN(scratch, records, 0, kZetaSeconds, StopRunningCount(main));
    CHECK_EQ(Shown(main), "00:00:00");
    CloseAfterStop(app, scratch, main);
}

E2E_CASE("close.refused_while_paused_and_the_count_is_kept") {
    auto [scratch, records, original, app, main] = Scene(1);
    StartCount(app, main);
    WaitForShownAtLeast(main, 2);
    const long held = PauseCount(main);

    RequestClose(main);
    ExpectRefusal(app, main);
    CheckHolds(main, held);

    // Still paused on the same count: resume goes on from it.
    Press(main, IDC_PAUSE);
    WaitForShownChange(main, held);
    const long total = PauseAndStop(app, main);
    CHECK_FILE(scratch, WithTotal(records, 1, total));
    CloseAfterStop(app, scratch, main);
}

E2E_CASE("close.escape_and_enter_refused_while_paused") {
    auto [scratch, records, original, app, main] = Scene(2);
    StartCount(app, main);
    const long held = PauseCount(main);

    // The keys are pressed in the project box, which has the focus.
    const HWND field = ComboField(Control(main, IDC_PROJECT_COMBO));
    CHECK(FocusOf(main) == field);
    CheckEscapeAndEnterRefused(app, main);

    CHECK_EQ(ShownSeconds(main), held);
    Press(main, IDC_STOP);
    CHECK_FILE(scratch, WithTotal(records, 2, kBueroSeconds + held));

    // Stopped, Esc ends the program as the close box does, and writes nothing.
    PressKey(field, VK_ESCAPE);
    CHECK(app.WaitForExit());
    CHECK_FILE(scratch, WithTotal(records, 2, kBueroSeconds + held));
}
