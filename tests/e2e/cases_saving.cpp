// Saving a total: stop writes into the record that carries the counted project's name, also
// over a hand-edited time line; a save that fails is reported and the count is held, paused
// with its time on the display, until a later stop saves it or the user chooses to lose it.
#include "scene.h"

using namespace e2e;

namespace {

const char kLoseUnsaved[] = "The time counted could not be saved to the project file.\n\n"
                            "Close Quillet anyway and lose that time?";

// A count on the picked project stopped while the caller keeps the file from being written: the
// failure is told, and the count is held. Returns the held run counter.
long StopOnAnUnwritableFile(const App& app, HWND main) {
    StartCount(app, main);
    WaitForShownAtLeast(main, 2);
    ClickButton(main, IDC_STOP);
    AnswerMessage(app, "Error writing DataBaseFile");
    const long held = ShownSeconds(main);
    CHECK(held >= 2);
    CheckHolds(main, held);
    return held;
}

} // namespace

E2E_CASE("save.stop_replaces_a_hand_edited_time_line_whole") {
    auto [scratch, records, original, app, main] =
        Scene{Setup({{"Zeta", "12:04:56"}, {"alpha", "000:75:99"}, {"Beta", "000:00:01"}})};
    // 75 minutes and 99 seconds are carried: 1:16:39 plus the run, in the written form.
    const long loaded[] = {12 * 3600 + 4 * 60 + 56, 3600 + 16 * 60 + 39};
    for (int index = 0; index < 2; ++index) {
        Pick(main, index);
        StartCount(app, main);
        records[index].second = FormatTotal(loaded[index] + PauseAndStop(app, main));
        CHECK_FILE(scratch, ProjectFileBytes(records));
    }
}

E2E_CASE("save.a_failed_stop_holds_the_count_until_a_later_stop_saves_it") {
    auto [scratch, records, original, app, main] = Scene(0);
    long held = 0;
    {
        FileLock lock(scratch.ProjectFilePath());
        held = StopOnAnUnwritableFile(app, main);
        CHECK_FILE(scratch, original);

        // Closing asks; No keeps the program and the held count.
        RequestClose(main);
        Answer(ExpectQuestion(app, kLoseUnsaved), IDNO);
        CHECK(app.IsRunning());
        CHECK_EQ(ShownSeconds(main), held);
    }
    Press(main, IDC_STOP);
    CHECK(OpenMessages(app).empty());
    CHECK_EQ(Shown(main), "00:00:00");
    CHECK_FILE(scratch, WithTotal(records, 0, kZetaSeconds + held));
    CloseToExit(app, main);
}

// Read-only, the file is not written either; closing then asks, and Yes gives the time up.
E2E_CASE("save.a_stop_on_a_read_only_file_is_held_and_closing_can_give_it_up") {
    auto [scratch, records, original, app, main] = Scene(1);
    REQUIRE(SetFileAttributesA(scratch.ProjectFilePath().c_str(), FILE_ATTRIBUTE_READONLY));
    StopOnAnUnwritableFile(app, main);

    RequestClose(main);
    Answer(ExpectQuestion(app, kLoseUnsaved), IDYES);
    CHECK(app.WaitForExit());
    CHECK_FILE(scratch, original);
    SetFileAttributesA(scratch.ProjectFilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Another program inserts a record while the count runs: the stop writes the counted project's
// record, and the project box shows the file's records again, on the counted project.
E2E_CASE("save.total_follows_its_project_when_another_program_inserts_a_record") {
    auto [scratch, records, original, app, main] = Scene(1);
    StartCount(app, main);
    records.insert(records.begin(), {"Inserted", "000:00:07"});
    scratch.WriteProjectFile(ProjectFileBytes(records));

    const long held = PauseAndStop(app, main);

    CHECK_FILE(scratch, WithTotal(records, 2, held));
    const ProjectBox box = ReadProjectBox(main);
    CHECK_EQ(box.items, NamesOf(records));
    CHECK_EQ(box.selection, 2);
    CHECK_EQ(box.field, "alpha");
}

// The total is read when the count starts and each save adds to what the file then holds: a pick
// whose read failed (the file briefly held unshared) and a correction typed meanwhile survive.
E2E_CASE("save.a_failed_read_or_a_hand_correction_never_sets_the_total_written") {
    auto [scratch, records, original, app, main] = Scene(0);
    {
        FileLock lock(scratch.ProjectFilePath(), false);
        ChooseComboItem(main, IDC_PROJECT_COMBO, 2);
        AnswerMessage(app, "Error reading DataBaseFile");
    }
    StartCount(app, main);
    records[2].second = "200:00:00";
    scratch.WriteProjectFile(ProjectFileBytes(records));
    const long held = PauseAndStop(app, main);
    CHECK_FILE(scratch, WithTotal(records, 2, 200 * 3600 + held));
}
