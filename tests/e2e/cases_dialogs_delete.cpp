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

// Quillet on `records`, with project `picked` picked on the main dialog, and its delete dialog.
struct DeleteScene : Scene {
    explicit DeleteScene(Records records = kFive, int picked = -1)
        : Scene(Setup(std::move(records), picked)), dialog(OpenDeleteDialog(app, main)) {}
    HWND dialog;

    HWND Combo() const { return Control(dialog, IDC_DELETE_COMBO); }
    bool UndoEnabled() const { return IsWindowEnabled(Control(dialog, IDC_UNDO_DELETE)) != FALSE; }

    // What the dialog shows: the list, and the name in the field with its list selection.
    void Shows(const Records& list, const std::string& field) const {
        const std::vector<std::string> names = NamesOf(list);
        const auto at = std::find(names.begin(), names.end(), field);
        CHECK_EQ(ComboItems(Combo()), names);
        CHECK_EQ(WindowText(Combo()), field);
        CHECK_EQ(ComboSelection(Combo()), at == names.end() ? CB_ERR : int(at - names.begin()));
    }

    // The arrow key in the drop-down field moves the choice one project down the list.
    void ChooseNext() const {
        PressKey(ComboField(Combo()), VK_DOWN);
        SettleAfterInput(app, dialog);
    }

    // Chooses the project `down` places below the first, as a user would; nothing is written.
    void Choose(int down) const {
        for (int i = 0; i < down; ++i)
            ChooseNext();
        Shows(records, records[down].first);
        CHECK_FILE(scratch, original);
    }

    // Text typed into the field brings no message and leaves the field naming `field`.
    void Type(const std::string& text, const Records& list, const std::string& field) const {
        TypeText(ComboField(Combo()), text);
        CheckNoMessage(app, dialog);
        Shows(list, field);
    }

    // "Delete project": "Deleted" is shown once the file has lost the record, and the field
    // then names the project that followed it (`next`), or none.
    void Delete(const Records& left, const std::string& next) const {
        ClickButton(dialog, IDC_DELETE_PROJECT);
        const MessageBoxInfo box = ExpectMessage(app, "Deleted");
        CHECK_FILE(scratch, ProjectFileBytes(left));
        Dismiss(box);
        CheckNoMessage(app, dialog);
        Shows(left, next);
    }

    // "Delete project" with no project named: nothing happens and nothing is shown.
    void DeleteNothing(const Records& left) const {
        ClickButton(dialog, IDC_DELETE_PROJECT);
        CheckNoMessage(app, dialog);
        CHECK_FILE(scratch, ProjectFileBytes(left));
        Shows(left, "");
    }

    // Another program writes `changed`; pressing `button` then tells so and writes nothing.
    void ChangedBehind(const Records& changed, int button, const std::string& message) const {
        scratch.WriteProjectFile(ProjectFileBytes(changed));
        ClickButton(dialog, button);
        AnswerMessage(app, message);
        CHECK_FILE(scratch, ProjectFileBytes(changed));
    }

    // "Close" brings back the main dialog, whose project box lists what is left, unchosen.
    void Close(const Records& left) const {
        CloseSideDialog(app, main, dialog, IDC_CLOSE);
        CHECK_FILE(scratch, ProjectFileBytes(left));
        CheckProjectBoxUnselected(main, NamesOf(left));
    }
};

} // namespace

E2E_CASE("delete.first_project_is_named_and_deleted_without_choosing") {
    // A project chosen on the main dialog before: afterwards its box has no choice again.
    DeleteScene scene(kFive, 2);
    scene.Choose(0);
    scene.Delete(Without(kFive, {0}), "P2 Support");
    scene.Close(Without(kFive, {0}));
}

E2E_CASE("delete.third_project_then_the_one_that_followed_it") {
    DeleteScene scene;
    scene.Choose(2);
    scene.Delete(Without(kFive, {2}), "P4 Travel");
    scene.Delete(Without(kFive, {2, 3}), "P5 Admin");
    scene.Close(Without(kFive, {2, 3}));
}

E2E_CASE("delete.last_project_then_nothing_more") {
    DeleteScene scene;
    scene.Choose(4);
    const Records left = Without(kFive, {4});
    scene.Delete(left, ""); // no project follows: the field names none
    scene.DeleteNothing(left);
    scene.Type("P", left, ""); // typing cannot name a project either: the field is cleared again
    scene.DeleteNothing(left);
    scene.Close(left);
}

E2E_CASE("delete.only_project_leaves_an_empty_file") {
    DeleteScene scene(Records{{"Solo", "010:20:30"}});
    scene.Choose(0);
    scene.Delete({}, "");
    CHECK_FILE(scene.scratch, "");
    scene.DeleteNothing({});
    scene.Close({});
    CHECK_EQ(ListFolder(scene.scratch.AppDir()), kRunningFolder);
}

E2E_CASE("delete.typing_in_the_field_shows_the_chosen_project_again") {
    // A project picked before: closing without a deletion still leaves nothing selected.
    DeleteScene scene(kFive, 3);
    scene.Type("x", kFive, "P1 Website");
    scene.ChooseNext();
    scene.Type("P4", kFive, "P2 Support");

    // Escape closes the dialog; nothing was deleted.
    PressKey(ComboField(scene.Combo()), VK_ESCAPE);
    WaitUntilClosed(scene.dialog);
    CheckNoMessage(scene.app, scene.main);
    CHECK_FILE(scene.scratch, scene.original);
    CheckProjectBoxUnselected(scene.main, NamesOf(kFive));
}

E2E_CASE("delete.a_project_moved_by_another_program_is_not_deleted") {
    DeleteScene scene;
    scene.Choose(2);
    // Another program removes the first project: P3 Report is now the second record.
    const Records moved = Without(kFive, {0});
    scene.ChangedBehind(moved, IDC_DELETE_PROJECT,
                        "Another program has changed the project file: the project shown is no "
                        "longer at its place. The list has been read again; nothing was deleted.");
    scene.Shows(moved, "P4 Travel");

    // What the field now names is what "Delete project" removes.
    scene.Delete(Without(moved, {2}), "P5 Admin");
    scene.Close(Without(moved, {2}));
}

E2E_CASE("delete.a_long_hand_edited_name_is_one_project") {
    DeleteScene scene(
        {{"P1", "001:00:00"}, {std::string(40, 'L'), "000:00:05"}, {"P3", "003:00:00"}});
    const std::vector<std::string> shown = {"P1", std::string(30, 'L'), "P3"};
    CHECK_EQ(ReadProjectBox(scene.main).items, shown);
    CHECK_EQ(ComboItems(scene.Combo()), shown);
    scene.ChooseNext();
    CHECK_EQ(WindowText(scene.Combo()), shown[1]);
    scene.Delete(Without(scene.records, {1}), "P3");
    scene.Close(Without(scene.records, {1}));
}

// "Undo delete" takes the deletes back one by one, last first: each project returns to its
// place with its total, the file's bytes become exactly what they were, and the field names it.
E2E_CASE("delete.undo_puts_each_project_back_byte_for_byte") {
    DeleteScene scene;
    CHECK(!scene.UndoEnabled());
    scene.Choose(2);
    scene.Delete(Without(kFive, {2}), "P4 Travel");
    CHECK(scene.UndoEnabled());
    scene.Delete(Without(kFive, {2, 3}), "P5 Admin");

    ClickButton(scene.dialog, IDC_UNDO_DELETE);
    CheckNoMessage(scene.app, scene.dialog);
    CHECK_FILE(scene.scratch, ProjectFileBytes(Without(kFive, {2})));
    scene.Shows(Without(kFive, {2}), "P4 Travel");
    CHECK(scene.UndoEnabled());
    ClickButton(scene.dialog, IDC_UNDO_DELETE);
    CheckNoMessage(scene.app, scene.dialog);
    CHECK_FILE(scene.scratch, scene.original);
    scene.Shows(kFive, "P3 Report");
    CHECK(!scene.UndoEnabled());
    scene.Close(kFive);
}

// When another program has changed the records around the place, the project is not put back
// among others: the message names it with its total, and nothing is written.
E2E_CASE("delete.undo_is_refused_when_the_neighbours_changed") {
    DeleteScene scene;
    scene.Choose(2);
    scene.Delete(Without(kFive, {2}), "P4 Travel");
    const Records changed = Without(kFive, {1, 2});
    scene.ChangedBehind(changed, IDC_UNDO_DELETE,
                        "Another program has changed the project file since the delete: the "
                        "project \"P3 Report\" (003:00:00) cannot be put back at its place. "
                        "Nothing was changed.");
    CHECK(!scene.UndoEnabled());
    CHECK_EQ(ComboItems(scene.Combo()), NamesOf(changed));
    scene.Close(changed);
}
