// The project box while a count runs or is paused stays on the project being counted, however
// the user picks, drops the list down or types; stop then writes that project's total. While
// stopped, typing shows the name of the project last started (the first one before any start).
#include "scene.h"

using namespace e2e;

static const std::string kBuero = ThreeProjects()[2].first;

static void CheckOnProject(HWND main, int index, const std::string& name) {
    const ProjectBox box = ReadProjectBox(main);
    CHECK_EQ(box.selection, index);
    CHECK_EQ(box.field, name);
}

// With the list at rest on item `resting` unknown to the program, drops it down as a click on the
// arrow does and closes it again: open and closed, the box shows project `index`. The mouse is
// moved out of the way first: an open list selects the item under the pointer.
static void CheckDropsOnto(HWND main, int resting, int index, const std::string& name) {
    const HWND combo = Control(main, IDC_PROJECT_COMBO);
    Ask(combo, CB_SETCURSEL, resting, 0);
    SetCursorPos(0, 0);
    Ask(combo, CB_SHOWDROPDOWN, TRUE, 0);
    CheckOnProject(main, index, name);
    CHECK(Ask(combo, CB_GETDROPPEDSTATE, 0, 0) != 0);
    Ask(combo, CB_SHOWDROPDOWN, FALSE, 0);
    CheckOnProject(main, index, name);
}

// Types into the project box's text field and returns what the field shows then. Each character
// is sent rather than posted, so that it has been handled, with all it set off, on return.
static std::string TypeIntoBox(HWND main, const std::string& text) {
    const HWND field = ComboField(Control(main, IDC_PROJECT_COMBO));
    for (unsigned char c : text)
        Ask(field, WM_CHAR, c, 1);
    return WindowText(field);
}

E2E_CASE("selection.picking_another_project_while_counting_snaps_back") {
    auto [scratch, records, original, app, main] = Scene(1);
    const long first = StartCount(app, main);

    Pick(main, 2);
    CheckOnProject(main, 1, "alpha");
    WaitForShownChange(main, first);

    const long held = PauseCount(main);
    Pick(main, 0);
    CheckOnProject(main, 1, "alpha");

    // The total of the project being counted is written; the picked ones are untouched.
    Press(main, IDC_STOP);
    CHECK_FILE(scratch, WithTotal(records, 1, held));
    CHECK(OpenMessages(app).empty());
}

E2E_CASE("selection.dropping_the_list_while_counting_selects_the_current_project") {
    auto [scratch, records, original, app, main] = Scene(2);
    StartCount(app, main);
    CheckDropsOnto(main, 0, 2, kBuero);
    PauseCount(main);
    CheckDropsOnto(main, 1, 2, kBuero);

    // Stopped, the list opens on whatever is selected.
    Press(main, IDC_STOP);
    CheckDropsOnto(main, 1, 1, "alpha");
    CHECK(OpenMessages(app).empty());
}

E2E_CASE("selection.typing_while_counting_restores_the_current_name") {
    auto [scratch, records, original, app, main] = Scene(2);
    const long first = StartCount(app, main);

    CHECK_EQ(TypeIntoBox(main, "x"), kBuero);
    CHECK_EQ(TypeIntoBox(main, "Neu"), kBuero);
    WaitForShownChange(main, first);

    const long held = PauseCount(main);
    CHECK_EQ(TypeIntoBox(main, "alpha"), kBuero);

    // The count stayed on its project: stop writes that project's total.
    Press(main, IDC_STOP);
    CHECK_FILE(scratch, WithTotal(records, 2, kBueroSeconds + held));
    CHECK(OpenMessages(app).empty());
}

E2E_CASE("selection.typing_while_stopped_shows_the_last_started_project") {
    auto [scratch, records, original, app, main] = Scene();

    // Before any start the first project is the current one.
    CHECK_EQ(TypeIntoBox(main, "x"), "Zeta");

    // After a run of the second project, its name comes back, whichever item is picked.
    Pick(main, 1);
    StartCount(app, main);
    Press(main, IDC_STOP);
    Pick(main, 2);
    CHECK_EQ(ReadProjectBox(main).field, kBuero);
    CHECK_EQ(TypeIntoBox(main, "y"), "alpha");
    CHECK(OpenMessages(app).empty());
}

E2E_CASE("selection.typing_after_a_refused_start_clears_the_field") {
    auto [scratch, records, original, app, main] = Scene();

    // No project is current after a start without a pick, so no name can come back.
    ClickButton(main, IDC_START);
    AnswerMessage(app, kChooseProject);
    TypeIntoBox(main, "abc");
    CheckOnProject(main, CB_ERR, "");
    CHECK(OpenMessages(app).empty());
}

E2E_CASE("selection.typing_while_stopped_reselects_the_current_project_and_its_total") {
    auto [scratch, records, original, app, main] = Scene(2);

    // The third project is picked (its total loaded), then typing brings back the first: the
    // box selects it again, and a start counts the first project from its own total.
    TypeIntoBox(main, "x");
    CheckOnProject(main, 0, "Zeta");

    StartCount(app, main);
    CHECK_SAVED_RUN(scratch, records, 0, kZetaSeconds, StopRunningCount(main));
    CHECK(OpenMessages(app).empty());
}
