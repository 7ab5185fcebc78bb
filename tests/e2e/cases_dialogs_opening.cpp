// When the main dialog's "Create new project", "Delete project" and "Project time overview"
// open their dialogs: the last two only when there is a project to show, all three only while
// no count runs or is paused.
#include "scene.h"

using namespace e2e;

namespace {

const int kSideDialogButtons[] = {IDC_NEW_PROJECT, IDC_DELETE_PROJECT, IDC_OVERVIEW};

// The main dialog is the only window the program shows.
void CheckOnlyMainDialog(const App& app, HWND main) {
    SettleAfterInput(app, main);
    const std::vector<HWND> windows = app.Windows();
    CHECK_EQ(windows.size(), size_t{1});
    CHECK(!windows.empty() && windows[0] == main);
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
    Scene scene(0);
    auto& [scratch, records, original, app, main] = scene;
    const HWND display = Control(main, IDC_TIME_DISPLAY);

    ClickButton(main, IDC_START);
    WaitFor("the count to run", [&] { return WindowText(display) != "00:00:00"; });
    for (int id : kSideDialogButtons) {
        ClickButton(main, id);
        CheckOnlyMainDialog(app, main);
    }

    ClickButton(main, IDC_PAUSE);
    for (int id : kSideDialogButtons) {
        ClickButton(main, id);
        CheckOnlyMainDialog(app, main);
    }

    // Stop saves Zeta's total, now at least a second more; nothing else in the file changed.
    ClickButton(main, IDC_STOP);
    WaitFor("the count to stop", [&] { return WindowText(display) == "00:00:00"; });
    const std::string before = ThreeProjectsFile();
    const std::string after = scratch.ReadProjectFile().value_or("");
    REQUIRE(after.size() == before.size());
    CHECK_EQ(after.substr(0, 6), before.substr(0, 6));
    CHECK(after.substr(6, 9) > before.substr(6, 9));
    CHECK_EQ(after.substr(15), before.substr(15));

    // Stopped, the buttons open their dialogs again.
    ClickButton(main, IDC_NEW_PROJECT);
    const HWND dialog = WaitForDialog(app, "Create new project");
    ClickButton(dialog, IDC_NEW_CANCEL);
    WaitUntilClosed(dialog);
    CheckOnlyMainDialog(app, main);
    CHECK_FILE(scratch, after);
}
