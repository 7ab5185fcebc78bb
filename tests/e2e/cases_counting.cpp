// Counting: stop writes the picked project's loaded total plus the run into its time line and
// nowhere else. Cases compare the file with what the display showed, not with the driver's clock.
#include "scene.h"

using namespace e2e;

E2E_CASE("counting.start_pause_resume_stop_writes_the_project_time_line") {
    auto [scratch, records, original, app, main] = Scene(0);

    // A new run counts up from zero, one second a change (two if the machine lagged).
    long last = StartCount(app, main);
    CHECK(last >= 1 && last <= 2);
    while (last < 4) {
        const long next = WaitForShownChange(main, last);
        CHECK(next > last && next <= last + 2);
        last = next;
    }
    CHECK_FILE(scratch, original);

    // A pause saves the run so far.
    const long held = PauseCount(main);
    CHECK(held >= last);
    CheckHolds(main, held);
    CHECK_FILE(scratch, WithTotal(records, 0, kZetaSeconds + held));

    // Resumed, it goes on from the held value: the paused seconds are not counted.
    Press(main, IDC_PAUSE);
    const long resumed = WaitForShownChange(main, held);
    CHECK(resumed == held + 1 || resumed == held + 2);

    WaitForShownAtLeast(main, resumed + 2);
    CHECK_SAVED_RUN(scratch, records, 0, kZetaSeconds, StopRunningCount(main));
    CHECK_EQ(Shown(main), "00:00:00");
    CHECK(OpenMessages(app).empty());
    CheckHolds(main, 0);
}

E2E_CASE("counting.stop_while_paused_writes_exactly_the_held_run") {
    auto [scratch, records, original, app, main] = Scene(2);

    StartCount(app, main);
    WaitForShownAtLeast(main, 2);
    const long held = PauseAndStop(app, main);
    CHECK_FILE(scratch, WithTotal(records, 2, kBueroSeconds + held));
}

// A start with no project picked, whether or not the file holds any, is refused; the count
// stays stopped: pause and stop do nothing, and the close box ends the program.
static void StartAsksForAProject(const Records& projects) {
    auto [scratch, records, original, app, main] = Scene(Setup(projects));
    ClickButton(main, IDC_START);
    AnswerMessage(app, kChooseProject);
    CheckHolds(main, 0);
    CHECK_EQ(PauseAndStop(app, main), 0);
    CloseToExit(app, main);
    CHECK_FILE(scratch, original);
}
E2E_ROW("counting.start_with_nothing_picked_asks_for_a_project", StartAsksForAProject,
        ThreeProjects());
E2E_ROW("counting.start_with_no_projects_asks_for_a_project", StartAsksForAProject, Records{});

E2E_CASE("counting.the_last_project_picked_while_stopped_is_counted") {
    // Zeta's total is loaded first, then replaced by that of the project picked after it.
    auto [scratch, records, original, app, main] = Scene(0);
    Pick(main, 2);
    StartCount(app, main);
    WaitForShownAtLeast(main, 2);
    CHECK_SAVED_RUN(scratch, records, 2, kBueroSeconds, StopRunningCount(main));
    CHECK_EQ(Shown(main), "00:00:00");
}

E2E_CASE("counting.a_second_run_continues_from_the_saved_total") {
    auto [scratch, records, original, app, main] = Scene(1);
    // A run counted from zero, paused and stopped; returns what it saved.
    const auto run = [&] {
        const long begun = StartCount(app, main);
        CHECK(begun >= 1 && begun <= 2);
        WaitForShownAtLeast(main, 2);
        return PauseAndStop(app, main);
    };
    const long first = run();
    CHECK_FILE(scratch, WithTotal(records, 1, first));

    // Started again without a new pick: the run counter begins at zero, the total goes on.
    const long second = run();
    CHECK_FILE(scratch, WithTotal(records, 1, first + second));
    records[1].second = FormatTotal(first + second);

    // Another project picked after the stop is counted from its own stored total.
    Pick(main, 2);
    const long third = run();
    CHECK_FILE(scratch, WithTotal(records, 2, kBueroSeconds + third));
}

E2E_CASE("counting.time_under_an_open_message_box_is_counted") {
    auto [scratch, records, original, app, main] = Scene(0);
    StartCount(app, main);

    // The close box's refusal stays open while the count runs: the run counter goes on beneath
    // it, second by second, and a checkpoint is written meanwhile.
    const ULONGLONG began = GetTickCount64();
    RequestClose(main);
    const MessageBoxInfo box = ExpectMessage(app, kStopFirst);
    const long before = ShownSeconds(main);
    for (long second = before + 1; second <= before + 6; ++second)
        CHECK(WaitForShownAtLeast(main, second) <= second + 1);
    CHECK_EQ(OpenMessages(app).size(), 1u);
    CHECK(scratch.ReadProjectFile() != std::optional<std::string>(original));
    Dismiss(box);
    const long after = WaitForShownChange(main, before);
    const long elapsed = static_cast<long>((GetTickCount64() - began) / 1000);

    CHECK(after >= before + 5);
    CHECK(after <= before + elapsed + 2);
    const long held = PauseAndStop(app, main);
    CHECK_FILE(scratch, WithTotal(records, 0, kZetaSeconds + held));
}

E2E_CASE("counting.total_stops_at_999_59_59_with_one_notice") {
    auto [scratch, records, original, app, main] =
        Scene(Setup({{"Old", "999:59:50"}, {"New", "000:00:00"}}, 0));
    StartCount(app, main);

    // Nine seconds bring the total to 999:59:59; the next one would not fit the time line.
    const MessageBoxInfo notice = WaitForMessage(app, 30000);
    CHECK_EQ(notice.caption, "Quillet");
    CHECK(notice.text.find("999:59:59") != std::string::npos);
    CHECK(ShownSeconds(main) >= 9);
    Dismiss(notice);

    // The run counter goes on, also across a pause, and the notice does not come back.
    WaitForShownAtLeast(main, WaitForShownChange(main, ShownSeconds(main)) + 2);
    const long held = PauseCount(main);
    Press(main, IDC_PAUSE);
    WaitForShownAtLeast(main, held + 2);
    CHECK(OpenMessages(app).empty());

    Press(main, IDC_STOP);
    CHECK_EQ(Shown(main), "00:00:00");
    CHECK_FILE(scratch, ProjectFileBytes({{"Old", "999:59:59"}, {"New", "000:00:00"}}));
}

// What the dialog shows of a count: the project's total under the project box, live while
// counting; buttons that would do nothing in the state are greyed.
E2E_CASE("counting.the_dialog_shows_the_total_and_greys_what_would_do_nothing") {
    auto [scratch, records, original, app, main] = Scene(0);
    const auto enabled = [&] {
        std::string flags;
        for (int id : {IDC_OVERVIEW, IDC_NEW_PROJECT, IDC_DELETE_PROJECT, IDC_ABOUT, IDC_START,
                       IDC_PAUSE, IDC_STOP})
            flags += IsWindowEnabled(Control(main, id)) ? '1' : '0';
        return flags;
    };
    CHECK_EQ(TotalShown(main), "Total: 012:34:56");
    CHECK_EQ(enabled(), "1111100");

    const long first = StartCount(app, main);
    CHECK_EQ(enabled(), "0000111");
    const long later = WaitForShownAtLeast(main, first + 2);
    CHECK_NEAR(ParseTimeLine(TotalShown(main).substr(7)), kZetaSeconds + later, 1);

    const long held = PauseCount(main);
    CHECK_EQ(enabled(), "0001111");
    CHECK_EQ(TotalShown(main), "Total: " + FormatTotal(kZetaSeconds + held));
    Press(main, IDC_STOP);
    CHECK_EQ(enabled(), "1111100");
    CHECK_EQ(TotalShown(main), "Total: " + FormatTotal(kZetaSeconds + held));
    Pick(main, 2);
    CHECK_EQ(TotalShown(main), "Total: 100:00:01");
}
