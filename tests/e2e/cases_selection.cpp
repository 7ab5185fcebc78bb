// The project box while a count runs or is paused stays on the project being counted, however
// the user picks, drops the list down or types; stop then writes that project's total. While
// stopped, typing shows the name of the project last started (the first one before any start).
#include "scene.h"

using namespace e2e;

namespace {

const std::string kBuero = "B\xFC"
                           "ro & Verwaltung";

void CheckOnProject(HWND main, int index, const std::string& name) {
    const ProjectBox box = ReadProjectBox(main);
    CHECK_EQ(box.selection, index);
    CHECK_EQ(box.field, name);
}

// Drops the project box's list down as a click on its arrow does, then closes it again; returns
// the box as it was while the list was open. The mouse is moved out of the way first: an open
// list selects the item under the pointer.
ProjectBox DropDown(HWND main) {
    const HWND combo = Control(main, IDC_PROJECT_COMBO);
    SetCursorPos(0, 0);
    Ask(combo, CB_SHOWDROPDOWN, TRUE, 0);
    const ProjectBox opened = ReadProjectBox(main);
    CHECK(Ask(combo, CB_GETDROPPEDSTATE, 0, 0) != 0);
    Ask(combo, CB_SHOWDROPDOWN, FALSE, 0);
    return opened;
}

// Types into the project box's text field, one character at a time. Each character is sent
// rather than posted, so that it has been handled, with all it set off, when the call returns.
void TypeIntoBox(HWND main, const std::string& text) {
    const HWND field = ComboField(Control(main, IDC_PROJECT_COMBO));
    for (unsigned char c : text)
        Ask(field, WM_CHAR, c, 1);
}

} // namespace

E2E_CASE("selection.picking_another_project_while_counting_snaps_back") {
    Scene scene(1);
    auto& [scratch, records, original, app, main] = scene;
    const long first = StartCount(app, main);

    Pick(main, 2);
    CheckOnProject(main, 1, "alpha");
    WaitForShownChange(main, first);

    PauseCount(main);
    Pick(main, 0);
    CheckOnProject(main, 1, "alpha");
    const long held = ShownSeconds(main);

    // The total of the project being counted is written; the picked ones are untouched.
    Press(main, IDC_STOP);
    CHECK_FILE(scratch, WithTotal(records, 1, held));
    CHECK(OpenMessages(app).empty());
}

E2E_CASE("selection.dropping_the_list_while_counting_selects_the_current_project") {
    Scene scene;
    auto& [scratch, records, original, app, main] = scene;
    const HWND combo = Control(main, IDC_PROJECT_COMBO);
    Pick(main, 2);
    StartCount(app, main);

    // The list had come to rest on another item without the program hearing of it.
    Ask(combo, CB_SETCURSEL, 0, 0);
    ProjectBox opened = DropDown(main);
    CHECK_EQ(opened.selection, 2);
    CHECK_EQ(opened.field, kBuero);
    CheckOnProject(main, 2, kBuero);

    PauseCount(main);
    Ask(combo, CB_SETCURSEL, 1, 0);
    opened = DropDown(main);
    CHECK_EQ(opened.selection, 2);
    CheckOnProject(main, 2, kBuero);

    // Stopped, the list opens on whatever is selected.
    Press(main, IDC_STOP);
    Ask(combo, CB_SETCURSEL, 1, 0);
    opened = DropDown(main);
    CHECK_EQ(opened.selection, 1);
    CheckOnProject(main, 1, "alpha");
    CHECK(OpenMessages(app).empty());
}

E2E_CASE("selection.typing_while_counting_restores_the_current_name") {
    Scene scene;
    auto& [scratch, records, original, app, main] = scene;
    const HWND field = ComboField(Control(main, IDC_PROJECT_COMBO));
    Pick(main, 2);
    const long first = StartCount(app, main);

    TypeIntoBox(main, "x");
    CHECK_EQ(WindowText(field), kBuero);
    TypeIntoBox(main, "Neu");
    CHECK_EQ(WindowText(field), kBuero);
    WaitForShownChange(main, first);

    PauseCount(main);
    TypeIntoBox(main, "alpha");
    CHECK_EQ(WindowText(field), kBuero);
    const long held = ShownSeconds(main);

    // The count stayed on its project: stop writes that project's total.
    Press(main, IDC_STOP);
    CHECK_FILE(scratch, WithTotal(records, 2, kBueroSeconds + held));
    CHECK(OpenMessages(app).empty());
}

E2E_CASE("selection.typing_while_stopped_shows_the_last_started_project") {
    Scene scene;
    auto& [scratch, records, original, app, main] = scene;
    const HWND field = ComboField(Control(main, IDC_PROJECT_COMBO));

    // Before any start the first project is the current one.
    TypeIntoBox(main, "x");
    CHECK_EQ(WindowText(field), "Zeta");

    // After a run of the second project, its name comes back, whichever item is picked.
    Pick(main, 1);
    StartCount(app, main);
    Press(main, IDC_STOP);
    Pick(main, 2);
    CHECK_EQ(WindowText(field), kBuero);
    TypeIntoBox(main, "y");
    CHECK_EQ(WindowText(field), "alpha");
    CHECK(OpenMessages(app).empty());
}

E2E_CASE("selection.typing_after_a_refused_start_clears_the_field") {
    Scene scene;
    auto& [scratch, records, original, app, main] = scene;

    // No project is current after a start without a pick, so no name can come back.
    ClickButton(main, IDC_START);
    AnswerMessage(app, kChooseProject);
    TypeIntoBox(main, "abc");
    const ProjectBox box = ReadProjectBox(main);
    CHECK_EQ(box.field, "");
    CHECK_EQ(box.selection, CB_ERR);
    CHECK(OpenMessages(app).empty());
}

E2E_CASE("selection.typing_while_stopped_reselects_the_current_project_and_its_total") {
    Scene scene;
    auto& [scratch, records, original, app, main] = scene;

    // The third project is picked (its total loaded), then typing brings back the first: the
    // box selects it again, and a start counts the first project from its own total.
    Pick(main, 2);
    TypeIntoBox(main, "x");
    const ProjectBox box = ReadProjectBox(main);
    CHECK_EQ(box.field, "Zeta");
    CHECK_EQ(box.selection, 0);

    StartCount(app, main);
    const long shown = StopRunningCount(main);
    CHECK_SAVED_RUN(scratch, records, 0, ParseTimeLine(records[0].second), shown);
    CHECK(OpenMessages(app).empty());
}
