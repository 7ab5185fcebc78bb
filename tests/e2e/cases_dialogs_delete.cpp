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

std::optional<std::string> BytesOf(const Records& records) {
    return ProjectFileBytes(records);
}

HWND DeleteCombo(HWND dialog) {
    return Control(dialog, IDC_DELETE_COMBO);
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

// "Delete project": "Deleted" is shown once the file has lost the record.
void DeleteAndConfirm(const App& app, const Scratch& scratch, HWND dialog, const Records& left) {
    ClickButton(dialog, IDC_DELETE_PROJECT);
    const MessageBoxInfo box = ExpectMessage(app, "Deleted");
    CHECK_EQ(scratch.ReadProjectFile(), BytesOf(left));
    Dismiss(box);
    CheckNoMessage(app, dialog);
}

// "Delete project" with no project named: nothing happens and nothing is shown.
void DeleteNothing(const App& app, const Scratch& scratch, HWND dialog, const Records& left) {
    ClickButton(dialog, IDC_DELETE_PROJECT);
    CheckNoMessage(app, dialog);
    CHECK_EQ(scratch.ReadProjectFile(), BytesOf(left));
}

// Chooses the third of the five projects with the arrow key, as a user would.
void ChooseThird(const App& app, HWND dialog) {
    ChooseNext(app, dialog);
    ChooseNext(app, dialog);
    CheckShows(dialog, kFive, "P3 Report");
}

} // namespace

E2E_CASE("delete.first_project_is_named_and_deleted_without_choosing") {
    // A project chosen on the main dialog before: afterwards its box has no choice again.
    Scene scene{Setup(kFive, 2)};
    auto& [scratch, records, original, app, main] = scene;
    const HWND dialog = OpenDeleteDialog(app, main);
    CheckShows(dialog, kFive, "P1 Website");

    DeleteAndConfirm(app, scratch, dialog, Without(kFive, {0}));
    CheckShows(dialog, Without(kFive, {0}), "P2 Support");

    CloseSideDialog(app, main, dialog, IDC_CLOSE);
    CHECK_EQ(scratch.ReadProjectFile(), BytesOf(Without(kFive, {0})));
    CheckProjectBoxUnselected(main, NamesOf(Without(kFive, {0})));
}

E2E_CASE("delete.third_project_then_the_one_that_followed_it") {
    Scene scene{Setup(kFive)};
    auto& [scratch, records, original, app, main] = scene;
    const HWND dialog = OpenDeleteDialog(app, main);

    ChooseThird(app, dialog);
    CHECK_EQ(scratch.ReadProjectFile(), BytesOf(kFive));

    DeleteAndConfirm(app, scratch, dialog, Without(kFive, {2}));
    CheckShows(dialog, Without(kFive, {2}), "P4 Travel");
    DeleteAndConfirm(app, scratch, dialog, Without(kFive, {2, 3}));
    CheckShows(dialog, Without(kFive, {2, 3}), "P5 Admin");

    CloseSideDialog(app, main, dialog, IDC_CLOSE);
    CheckProjectBoxUnselected(main, NamesOf(Without(kFive, {2, 3})));
}

E2E_CASE("delete.last_project_then_nothing_more") {
    Scene scene{Setup(kFive)};
    auto& [scratch, records, original, app, main] = scene;
    const HWND dialog = OpenDeleteDialog(app, main);
    for (int i = 0; i < 4; ++i)
        ChooseNext(app, dialog);
    CheckShows(dialog, kFive, "P5 Admin");

    const Records left = Without(kFive, {4});
    DeleteAndConfirm(app, scratch, dialog, left);
    CheckShows(dialog, left, ""); // no project follows: the field names none
    DeleteNothing(app, scratch, dialog, left);
    CheckShows(dialog, left, "");

    // Typing cannot name a project either: the field is cleared again.
    TypeText(ComboField(DeleteCombo(dialog)), "P");
    CheckNoMessage(app, dialog);
    CheckShows(dialog, left, "");
    DeleteNothing(app, scratch, dialog, left);

    CloseSideDialog(app, main, dialog, IDC_CLOSE);
    CheckProjectBoxUnselected(main, NamesOf(left));
}

E2E_CASE("delete.only_project_leaves_an_empty_file") {
    const Records one = {{"Solo", "010:20:30"}};
    Scene scene{Setup(one)};
    auto& [scratch, records, original, app, main] = scene;
    const HWND dialog = OpenDeleteDialog(app, main);
    CheckShows(dialog, one, "Solo");

    DeleteAndConfirm(app, scratch, dialog, {});
    CHECK_FILE(scratch, "");
    CheckShows(dialog, {}, "");
    DeleteNothing(app, scratch, dialog, {});

    CloseSideDialog(app, main, dialog, IDC_CLOSE);
    CheckProjectBoxUnselected(main, {});
    CHECK_EQ(ListFolder(scratch.AppDir()),
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
    CHECK_EQ(scratch.ReadProjectFile(), BytesOf(kFive));
    CheckProjectBoxUnselected(main, NamesOf(kFive));
}

E2E_CASE("delete.a_project_moved_by_another_program_is_not_deleted") {
    Scene scene{Setup(kFive)};
    auto& [scratch, records, original, app, main] = scene;
    const HWND dialog = OpenDeleteDialog(app, main);
    ChooseThird(app, dialog);

    // Another program removes the first project: P3 Report is now the second record.
    const Records moved = Without(kFive, {0});
    scratch.WriteProjectFile(ProjectFileBytes(moved));
    ClickButton(dialog, IDC_DELETE_PROJECT);
    AnswerMessage(app, "Another program has changed the project file: the project shown is no "
                       "longer at its place. The list has been read again; nothing was deleted.");
    CHECK_EQ(scratch.ReadProjectFile(), BytesOf(moved));
    CheckShows(dialog, moved, "P4 Travel");

    // What the field now names is what "Delete project" removes.
    DeleteAndConfirm(app, scratch, dialog, Without(moved, {2}));
    CloseSideDialog(app, main, dialog, IDC_CLOSE);
}

E2E_CASE("delete.a_long_hand_edited_name_is_one_project") {
    const std::string longName(40, 'L');
    Scene scene{Setup({{"P1", "001:00:00"}, {longName, "000:00:05"}, {"P3", "003:00:00"}})};
    auto& [scratch, records, original, app, main] = scene;
    const std::vector<std::string> shown = {"P1", std::string(30, 'L'), "P3"};
    CHECK_EQ(ReadProjectBox(main).items, shown);
    const HWND dialog = OpenDeleteDialog(app, main);
    CHECK_EQ(ComboItems(DeleteCombo(dialog)), shown);

    ChooseNext(app, dialog);
    CHECK_EQ(WindowText(DeleteCombo(dialog)), shown[1]);
    const Records left = {{"P1", "001:00:00"}, {"P3", "003:00:00"}};
    DeleteAndConfirm(app, scratch, dialog, left);
    CheckShows(dialog, left, "P3");
    CloseSideDialog(app, main, dialog, IDC_CLOSE);
}

namespace {

bool UndoEnabled(HWND dialog) {
    return IsWindowEnabled(Control(dialog, IDC_UNDO_DELETE)) != FALSE;
}

} // namespace

// "Undo delete" takes the deletes back one by one, last first: each project returns to its
// place with its total, the file's bytes become exactly what they were, and the field names it.
E2E_CASE("delete.undo_puts_each_project_back_byte_for_byte") {
    Scene scene{Setup(kFive)};
    auto& [scratch, records, original, app, main] = scene;
    const HWND dialog = OpenDeleteDialog(app, main);
    CHECK(!UndoEnabled(dialog));
    ChooseThird(app, dialog);
    DeleteAndConfirm(app, scratch, dialog, Without(kFive, {2}));
    CHECK(UndoEnabled(dialog));
    DeleteAndConfirm(app, scratch, dialog, Without(kFive, {2, 3}));

    ClickButton(dialog, IDC_UNDO_DELETE);
    CheckNoMessage(app, dialog);
    CHECK_EQ(scratch.ReadProjectFile(), BytesOf(Without(kFive, {2})));
    CheckShows(dialog, Without(kFive, {2}), "P4 Travel");
    CHECK(UndoEnabled(dialog));
    ClickButton(dialog, IDC_UNDO_DELETE);
    CheckNoMessage(app, dialog);
    CHECK_EQ(scratch.ReadProjectFile(), BytesOf(kFive));
    CheckShows(dialog, kFive, "P3 Report");
    CHECK(!UndoEnabled(dialog));

    CloseSideDialog(app, main, dialog, IDC_CLOSE);
    CheckProjectBoxUnselected(main, NamesOf(kFive));
}

// When another program has changed the records around the place, the project is not put back
// among others: the message names it with its total, and nothing is written.
E2E_CASE("delete.undo_is_refused_when_the_neighbours_changed") {
    Scene scene{Setup(kFive)};
    auto& [scratch, records, original, app, main] = scene;
    const HWND dialog = OpenDeleteDialog(app, main);
    ChooseThird(app, dialog);
    DeleteAndConfirm(app, scratch, dialog, Without(kFive, {2}));

    const Records changed = Without(kFive, {1, 2});
    scratch.WriteProjectFile(ProjectFileBytes(changed));
    ClickButton(dialog, IDC_UNDO_DELETE);
    AnswerMessage(app, "Another program has changed the project file since the delete: the "
                       "project \"P3 Report\" (003:00:00) cannot be put back at its place. "
                       "Nothing was changed.");
    CHECK_EQ(scratch.ReadProjectFile(), BytesOf(changed));
    CHECK(!UndoEnabled(dialog));
    CHECK_EQ(ComboItems(DeleteCombo(dialog)), NamesOf(changed));
    CloseSideDialog(app, main, dialog, IDC_CLOSE);
    CheckProjectBoxUnselected(main, NamesOf(changed));
}
