// When the main dialog's "Create new project", "Delete project" and "Project time overview"
// open their dialogs: the last two only when there is a project to show, all three only while
// no count runs or is paused.
#include "scene.h"

using namespace e2e;

namespace {

// The main dialog is the only window the program shows.
void CheckOnlyMainDialog(const App& app, HWND main) {
    SettleAfterInput(app, main);
    CHECK(app.Windows() == std::vector<HWND>{main});
}

// "Delete project" and "Overview" each answer with `message` and open nothing.
void CheckNothingOpens(const Scene& scene, const char* message) {
    for (int button : {IDC_DELETE_PROJECT, IDC_OVERVIEW}) {
        ClickButton(scene.main, button);
        AnswerMessage(scene.app, message);
        CheckOnlyMainDialog(scene.app, scene.main);
    }
}

} // namespace

E2E_CASE("opening.empty_file_has_no_project_to_delete_or_show") {
    Scene scene{Setup(Records{})};
    CheckNothingOpens(scene, "No project available");
    CHECK_FILE(scene.scratch, "");
}

E2E_CASE("opening.missing_file_is_reported_and_nothing_opens") {
    Scene scene(NoFile());
    CheckNothingOpens(scene, "Error reading DataBaseFile");
    CHECK(!FileExists(scene.scratch.ProjectFilePath()));
}

E2E_CASE("opening.side_dialogs_wait_while_a_count_runs_or_is_paused") {
    auto [scratch, records, original, app, main] = Scene(0);
    // Running, then paused: none of the three buttons opens its dialog.
    StartCount(app, main);
    long held = 0;
    for (bool paused : {false, true}) {
        if (paused)
            held = PauseCount(main);
        for (int id : {IDC_NEW_PROJECT, IDC_DELETE_PROJECT, IDC_OVERVIEW}) {
            ClickButton(main, id);
            CheckOnlyMainDialog(app, main);
        }
    }

    // Stop saves Zeta's total with the time counted; nothing else in the file changed.
    Press(main, IDC_STOP);
    CHECK_EQ(Shown(main), "00:00:00");
    CHECK(held >= 1);
    const std::string after = WithTotal(records, 0, kZetaSeconds + held);
    CHECK_FILE(scratch, after);

    // Stopped, the buttons open their dialogs again.
    CloseSideDialog(app, main, OpenCreateDialog(app, main), IDC_NEW_CANCEL);
    CheckOnlyMainDialog(app, main);
    CHECK_FILE(scratch, after);
}
