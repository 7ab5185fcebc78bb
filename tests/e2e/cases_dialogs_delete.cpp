// Deleting projects: the drop-down field always names the project that "Delete project" will
// remove, the file loses exactly that record, "Deleted" confirms it, and the dialog stays open
// for the next deletion. Every case checks the project file's bytes after each step.
#include "scene.h"

using namespace e2e;

namespace {

const Records kFive = {
    {"P1 Website", "001:00:00"}, {"P2 Support", "000:00:02"}, {"P3 Report", "003:00:00"},
    {"P4 Travel", "104:05:06"},  {"P5 Admin", "000:00:00"},
};

Records Without(Records records, std::initializer_list<int> indexes) {
    for (auto it = indexes.end(); it != indexes.begin();) // from the back, so indexes hold
        records.erase(records.begin() + *--it);
    return records;
}

HWND DeleteCombo(HWND dialog) {
    return Control(dialog, IDC_DELETE_COMBO);
}

bool UndoEnabled(HWND dialog) {
    return IsWindowEnabled(Control(dialog, IDC_UNDO_DELETE)) != FALSE;
}

// What the dialog shows: the list, and the name in the field with its list selection.
void CheckShows(HWND dialog, const Records& records, const std::string& field) {
    const HWND combo = DeleteCombo(dialog);
    CHECK_EQ(ComboItems(combo), NamesOf(records));
    CHECK_EQ(WindowText(combo), field);
    int selection = CB_ERR;
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i].first == field)
            selection = static_cast<int>(i);
    CHECK_EQ(ComboSelection(combo), selection);
}

// The arrow key in the drop-down field moves the choice one project down the list.
void ChooseNext(const App& app, HWND dialog) {
    PressKey(ComboField(DeleteCombo(dialog)), VK_DOWN);
    SettleAfterInput(app, dialog);
}

// The delete dialog on the five projects, the third chosen with the arrow key as a user would.
HWND OpenOnThird(const Scene& scene) {
    const HWND dialog = OpenDeleteDialog(scene.app, scene.main);
    ChooseNext(scene.app, dialog);
    ChooseNext(scene.app, dialog);
    CheckShows(dialog, kFive, "P3 Report");
    CHECK_FILE(scene.scratch, scene.original);
    return dialog;
}

// "Delete project": "Deleted" is shown once the file has lost the record, and the field then
// names the project that followed it (`next`), or none.
void DeleteAndConfirm(const Scene& scene, HWND dialog, const Records& left,
                      const std::string& next) {
    ClickButton(dialog, IDC_DELETE_PROJECT);
    const MessageBoxInfo box = ExpectMessage(scene.app, "Deleted");
    CHECK_FILE(scene.scratch, ProjectFileBytes(left));
    Dismiss(box);
    CheckNoMessage(scene.app, dialog);
    CheckShows(dialog, left, next);
}

// "Delete project" with no project named: nothing happens and nothing is shown.
void DeleteNothing(const Scene& scene, HWND dialog, const Records& left) {
    ClickButton(dialog, IDC_DELETE_PROJECT);
    CheckNoMessage(scene.app, dialog);
    CHECK_FILE(scene.scratch, ProjectFileBytes(left));
    CheckShows(dialog, left, "");
}

// "Close" brings back the main dialog, whose project box lists what is left with no choice.
void CloseLeaving(const Scene& scene, HWND dialog, const Records& left) {
    CloseSideDialog(scene.app, scene.main, dialog, IDC_CLOSE);
    CHECK_FILE(scene.scratch, ProjectFileBytes(left));
    CheckProjectBoxUnselected(scene.main, NamesOf(left));
}

} // namespace

E2E_CASE("delete.first_project_is_named_and_deleted_without_choosing") {
    // A project chosen on the main dialog before: afterwards its box has no choice again.
    Scene scene{Setup(kFive, 2)};
    const HWND dialog = OpenDeleteDialog(scene.app, scene.main);
    CheckShows(dialog, kFive, "P1 Website");
    DeleteAndConfirm(scene, dialog, Without(kFive, {0}), "P2 Support");
    CloseLeaving(scene, dialog, Without(kFive, {0}));
}

E2E_CASE("delete.third_project_then_the_one_that_followed_it") {
    Scene scene{Setup(kFive)};
    const HWND dialog = OpenOnThird(scene);
    DeleteAndConfirm(scene, dialog, Without(kFive, {2}), "P4 Travel");
    DeleteAndConfirm(scene, dialog, Without(kFive, {2, 3}), "P5 Admin");
    CloseLeaving(scene, dialog, Without(kFive, {2, 3}));
}

E2E_CASE("delete.last_project_then_nothing_more") {
    Scene scene{Setup(kFive)};
    const HWND dialog = OpenDeleteDialog(scene.app, scene.main);
    for (int i = 0; i < 4; ++i)
        ChooseNext(scene.app, dialog);
    CheckShows(dialog, kFive, "P5 Admin");
    const Records left = Without(kFive, {4});
    DeleteAndConfirm(scene, dialog, left, ""); // no project follows: the field names none
    DeleteNothing(scene, dialog, left);

    // Typing cannot name a project either: the field is cleared again.
    TypeText(ComboField(DeleteCombo(dialog)), "P");
    CheckNoMessage(scene.app, dialog);
    CheckShows(dialog, left, "");
    DeleteNothing(scene, dialog, left);
    CloseLeaving(scene, dialog, left);
}

E2E_CASE("delete.only_project_leaves_an_empty_file") {
    Scene scene{Setup(Records{{"Solo", "010:20:30"}})};
    const HWND dialog = OpenDeleteDialog(scene.app, scene.main);
    CheckShows(dialog, scene.records, "Solo");
    DeleteAndConfirm(scene, dialog, {}, "");
    CHECK_FILE(scene.scratch, "");
    DeleteNothing(scene, dialog, {});
    CloseLeaving(scene, dialog, {});
    CHECK_EQ(ListFolder(scene.scratch.AppDir()),
             (std::vector<std::string>{"Projekte.dbu", "Quillet.exe", "~Projekte.lock"}));
}

E2E_CASE("delete.typing_in_the_field_shows_the_chosen_project_again") {
    // A project picked before: closing without a deletion still leaves nothing selected.
    Scene scene{Setup(kFive, 3)};
    auto& [scratch, records, original, app, main] = scene;
    const HWND dialog = OpenDeleteDialog(app, main);
    const HWND field = ComboField(DeleteCombo(dialog));
    TypeText(field, "x");
    CheckNoMessage(app, dialog);
    CheckShows(dialog, kFive, "P1 Website");
    ChooseNext(app, dialog);
    TypeText(field, "P4");
    CheckNoMessage(app, dialog);
    CheckShows(dialog, kFive, "P2 Support");

    // Escape closes the dialog; nothing was deleted.
    PressKey(field, VK_ESCAPE);
    WaitUntilClosed(dialog);
    CheckNoMessage(app, main);
    CHECK_FILE(scratch, original);
    CheckProjectBoxUnselected(main, NamesOf(kFive));
}

E2E_CASE("delete.a_project_moved_by_another_program_is_not_deleted") {
    Scene scene{Setup(kFive)};
    const HWND dialog = OpenOnThird(scene);
    // Another program removes the first project: P3 Report is now the second record.
    const Records moved = Without(kFive, {0});
    scene.scratch.WriteProjectFile(ProjectFileBytes(moved));
    ClickButton(dialog, IDC_DELETE_PROJECT);
    AnswerMessage(scene.app,
                  "Another program has changed the project file: the project shown is no "
                  "longer at its place. The list has been read again; nothing was deleted.");
    CHECK_FILE(scene.scratch, ProjectFileBytes(moved));
    CheckShows(dialog, moved, "P4 Travel");

    // What the field now names is what "Delete project" removes.
    DeleteAndConfirm(scene, dialog, Without(moved, {2}), "P5 Admin");
    CloseLeaving(scene, dialog, Without(moved, {2}));
}

E2E_CASE("delete.a_long_hand_edited_name_is_one_project") {
    Scene scene{
        Setup({{"P1", "001:00:00"}, {std::string(40, 'L'), "000:00:05"}, {"P3", "003:00:00"}})};
    const std::vector<std::string> shown = {"P1", std::string(30, 'L'), "P3"};
    CHECK_EQ(ReadProjectBox(scene.main).items, shown);
    const HWND dialog = OpenDeleteDialog(scene.app, scene.main);
    CHECK_EQ(ComboItems(DeleteCombo(dialog)), shown);
    ChooseNext(scene.app, dialog);
    CHECK_EQ(WindowText(DeleteCombo(dialog)), shown[1]);
    DeleteAndConfirm(scene, dialog, Without(scene.records, {1}), "P3");
    CloseLeaving(scene, dialog, Without(scene.records, {1}));
}

// "Undo delete" takes the deletes back one by one, last first: each project returns to its
// place with its total, the file's bytes become exactly what they were, and the field names it.
E2E_CASE("delete.undo_puts_each_project_back_byte_for_byte") {
    Scene scene{Setup(kFive)};
    auto& [scratch, records, original, app, main] = scene;
    const HWND dialog = OpenOnThird(scene);
    CHECK(!UndoEnabled(dialog));
    DeleteAndConfirm(scene, dialog, Without(kFive, {2}), "P4 Travel");
    CHECK(UndoEnabled(dialog));
    DeleteAndConfirm(scene, dialog, Without(kFive, {2, 3}), "P5 Admin");

    ClickButton(dialog, IDC_UNDO_DELETE);
    CheckNoMessage(app, dialog);
    CHECK_FILE(scratch, ProjectFileBytes(Without(kFive, {2})));
    CheckShows(dialog, Without(kFive, {2}), "P4 Travel");
    CHECK(UndoEnabled(dialog));
    ClickButton(dialog, IDC_UNDO_DELETE);
    CheckNoMessage(app, dialog);
    CHECK_FILE(scratch, original);
    CheckShows(dialog, kFive, "P3 Report");
    CHECK(!UndoEnabled(dialog));
    CloseLeaving(scene, dialog, kFive);
}

// When another program has changed the records around the place, the project is not put back
// among others: the message names it with its total, and nothing is written.
E2E_CASE("delete.undo_is_refused_when_the_neighbours_changed") {
    Scene scene{Setup(kFive)};
    const HWND dialog = OpenOnThird(scene);
    DeleteAndConfirm(scene, dialog, Without(kFive, {2}), "P4 Travel");
    const Records changed = Without(kFive, {1, 2});
    scene.scratch.WriteProjectFile(ProjectFileBytes(changed));
    ClickButton(dialog, IDC_UNDO_DELETE);
    AnswerMessage(scene.app, "Another program has changed the project file since the delete: the "
                             "project \"P3 Report\" (003:00:00) cannot be put back at its place. "
                             "Nothing was changed.");
    CHECK_FILE(scene.scratch, ProjectFileBytes(changed));
    CHECK(!UndoEnabled(dialog));
    CHECK_EQ(ComboItems(DeleteCombo(dialog)), NamesOf(changed));
    CloseLeaving(scene, dialog, changed);
}
