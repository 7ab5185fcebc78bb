// The project time overview: one row per project in file order, the name, a tab and the total
// as stored, with the totals lined up at 185 dialog units in the list. It writes nothing.
#include "scene.h"

#include <cstdint>

using namespace e2e;

namespace {

HWND OverviewList(HWND dialog) {
    return Control(dialog, IDC_OVERVIEW_LIST);
}

// Where text is drawn in row `row` of the list: runs of columns with dark pixels, split where
// `gap` or more columns are blank; x in the list's client area, end exclusive. The row's outer
// pixels are left out: the focus rectangle is drawn there.
struct Run {
    int start, end;
};
std::vector<Run> TextRuns(HWND list, int row, int gap) {
    RECT client{};
    GetClientRect(list, &client);
    const int itemHeight = static_cast<int>(Ask(list, LB_GETITEMHEIGHT, 0, 0));
    POINT origin{0, row * itemHeight};
    ClientToScreen(list, &origin);
    const RECT band{origin.x, origin.y, origin.x + client.right, origin.y + itemHeight};
    const std::vector<uint32_t> pixels = CaptureScreen(band);
    std::vector<Run> runs;
    for (int x = 1; x + 1 < client.right; ++x) {
        bool ink = false;
        for (int y = 1; y + 1 < itemHeight && !ink; ++y) {
            const uint32_t p = pixels[y * client.right + x];
            ink = ((p >> 16) & 0xFF) < 0x80 && ((p >> 8) & 0xFF) < 0x80 && (p & 0xFF) < 0x80;
        }
        if (!ink)
            continue;
        if (runs.empty() || x - runs.back().end >= gap)
            runs.push_back({x, x + 1});
        runs.back().end = x + 1;
    }
    return runs;
}

} // namespace

E2E_CASE("overview.rows_in_file_order_with_name_tab_and_total") {
    Scene scene;
    auto& [scratch, records, original, app, main] = scene;
    CreateProject(app, main, "Neu");
    const std::string file = ThreeProjectsFile() + "\r\nNeu\r\n000:00:00";
    CHECK_FILE(scratch, file);

    const HWND dialog = OpenOverview(app, main);
    CheckNoMessage(app, dialog);
    const HWND list = OverviewList(dialog);
    CHECK_EQ(ListBoxItems(list), (std::vector<std::string>{
                                     "Zeta\t012:34:56",
                                     "alpha\t000:00:00",
                                     "B\xFCro & Verwaltung\t100:00:01",
                                     "Neu\t000:00:00",
                                 }));
    const DWORD style = static_cast<DWORD>(GetWindowLongW(list, GWL_STYLE));
    CHECK((style & LBS_USETABSTOPS) != 0);
    CHECK((style & LBS_SORT) == 0);
    CHECK_EQ(static_cast<int>(Ask(list, LB_GETCURSEL, 0, 0)), LB_ERR);

    // The close box ends it; nothing was written and the project box is as it was.
    RequestClose(dialog);
    WaitUntilClosed(dialog);
    CheckNoMessage(app, main);
    CHECK_FILE(scratch, file);
    CheckProjectBoxUnselected(main, {"Zeta", "alpha", "B\xFCro & Verwaltung", "Neu"});
}

// More projects than the list shows: every row is there, in order, and the scroll bar that
// reaches the last ones is shown (a list filled with redraw off and never switched back on
// would lack it).
E2E_CASE("overview.more_rows_than_fit_get_a_scroll_bar") {
    Scratch scratch;
    std::vector<std::pair<std::string, std::string>> records;
    std::vector<std::string> rows;
    for (int i = 1; i <= 60; ++i) {
        records.push_back({"P" + std::to_string(i), "000:00:0" + std::to_string(i % 10)});
        rows.push_back(records.back().first + "\t" + records.back().second);
    }
    scratch.WriteProjectFile(ProjectFileBytes(records));
    App app(scratch.ExePath(), scratch.WorkDir());
    const HWND main = StartIdle(app);
    const HWND dialog = OpenOverview(app, main);
    const HWND list = OverviewList(dialog);
    CHECK_EQ(ListBoxItems(list), rows);
    const DWORD style = static_cast<DWORD>(GetWindowLongW(list, GWL_STYLE));
    CHECK((style & WS_VSCROLL) != 0);
    CHECK(IsWindowVisible(list));
}

// The totals start at the tab stop, 185 dialog units right of the list's left edge, under the
// "Time:" header; after a name wider than that they start at the next stop, 370 units.
E2E_CASE("overview.totals_line_up_at_185_dialog_units") {
    const std::string wide(30, 'W');
    Scene scene{Setup({{"A", "000:00:00"}, {wide, "123:45:06"}})};
    auto& [scratch, records, original, app, main] = scene;
    const HWND dialog = OpenOverview(app, main);
    const HWND list = OverviewList(dialog);
    const BaseUnits units = DialogBaseUnits("MS Sans Serif", 8);
    const int stop = MulDiv(185, units.x, 4);
    const int gap = units.x * 3; // wider than any gap inside a name or a total

    std::vector<Run> shortRow;
    WaitFor("both columns of the first row to be drawn", [&] {
        shortRow = TextRuns(list, 0, gap);
        return shortRow.size() == 2;
    });
    CHECK_NEAR(shortRow[1].start, stop, 3);

    const std::vector<Run> wideRow = TextRuns(list, 1, gap);
    REQUIRE(wideRow.size() == 2);
    REQUIRE(wideRow[0].end > stop); // the name reaches past the first stop
    CHECK_NEAR(wideRow[1].start, 2 * stop, 3);
}

namespace {

const char* const kMsgBadTotal =
    "Please enter the total as HHH:MM:SS, for example 012:30:00: minutes and seconds from 00 to "
    "59, at most 999:59:59.";

// Picks row `row` of the overview's list, as a click on it does.
void PickRow(const App& app, HWND dialog, int row) {
    Ask(OverviewList(dialog), LB_SETCURSEL, row, 0);
    app.Settle(dialog);
}

// Opens a correction dialog for the picked row and checks that it names the project.
HWND OpenCorrection(const App& app, HWND overview, int button, const std::string& caption,
                    const std::string& project) {
    ClickButton(overview, button);
    const HWND dialog = WaitForDialog(app, caption);
    app.Settle(dialog);
    CHECK_EQ(WindowText(Control(dialog, IDC_CORRECTION_PROJECT)), project);
    return dialog;
}

} // namespace

// "Change total..." and "Rename..." change exactly the picked project's time line and name
// line; a wrong entry is refused with the reason and changes nothing; the list and the project
// box show the result.
E2E_CASE("overview.change_total_and_rename_write_the_picked_record") {
    Scene scene(1);
    auto& [scratch, records, original, app, main] = scene;
    const HWND dialog = OpenOverview(app, main);
    ClickButton(dialog, IDC_CHANGE_TOTAL); // nothing picked yet
    AnswerMessage(app, kChooseProject);
    PickRow(app, dialog, 1);

    const HWND total = OpenCorrection(app, dialog, IDC_CHANGE_TOTAL, "Change total", "alpha");
    const HWND field = Control(total, IDC_TOTAL_EDIT);
    CHECK_EQ(WindowText(field), "000:00:00");
    CHECK_EQ(FocusOf(total), field);
    for (const char* wrong : {"12:60:00", "1000:00:00", "ten"}) {
        SetFieldText(app, field, wrong);
        ClickButton(total, IDOK);
        AnswerMessage(app, kMsgBadTotal);
        CHECK(IsWindow(total));
    }
    CHECK_FILE(scratch, ThreeProjectsFile());
    SetFieldText(app, field, "7:05:00");
    ClickButton(total, IDOK);
    WaitUntilClosed(total);
    CheckNoMessage(app, dialog);
    const std::string corrected = ProjectFileBytes(
        {{"Zeta", "012:34:56"}, {"alpha", "007:05:00"}, {"B\xFCro & Verwaltung", "100:00:01"}});
    CHECK_FILE(scratch, corrected);
    CHECK_EQ(ListBoxItems(OverviewList(dialog)),
             (std::vector<std::string>{"Zeta\t012:34:56", "alpha\t007:05:00",
                                       "B\xFCro & Verwaltung\t100:00:01"}));
    CHECK_EQ(static_cast<int>(Ask(OverviewList(dialog), LB_GETCURSEL, 0, 0)), 1);

    PickRow(app, dialog, 2);
    const HWND rename =
        OpenCorrection(app, dialog, IDC_RENAME, "Rename project", "B\xFCro & Verwaltung");
    const HWND name = Control(rename, IDC_NEW_NAME);
    CHECK_EQ(WindowText(name), "B\xFCro & Verwaltung");
    SetFieldText(app, name, "");
    ClickButton(rename, IDOK);
    AnswerMessage(app, "Please enter a name for your project");
    SetFieldText(app, name, "Office");
    ClickButton(rename, IDOK);
    WaitUntilClosed(rename);
    CheckNoMessage(app, dialog);
    const std::string renamed =
        ProjectFileBytes({{"Zeta", "012:34:56"}, {"alpha", "007:05:00"}, {"Office", "100:00:01"}});
    CHECK_FILE(scratch, renamed);
    CHECK_EQ(
        ListBoxItems(OverviewList(dialog)),
        (std::vector<std::string>{"Zeta\t012:34:56", "alpha\t007:05:00", "Office\t100:00:01"}));

    // Cancel changes nothing.
    const HWND cancelled = OpenCorrection(app, dialog, IDC_RENAME, "Rename project", "Office");
    SetFieldText(app, Control(cancelled, IDC_NEW_NAME), "Other");
    ClickButton(cancelled, IDCANCEL);
    WaitUntilClosed(cancelled);
    CHECK_FILE(scratch, renamed);

    // The project box shows the new names and keeps the project chosen before.
    RequestClose(dialog);
    WaitUntilClosed(dialog);
    CheckNoMessage(app, main);
    const ProjectBox box = ReadProjectBox(main);
    CHECK_EQ(box.items, (std::vector<std::string>{"Zeta", "alpha", "Office"}));
    CHECK_EQ(box.selection, 1);
}

// The project chosen on the main dialog had its total loaded before the correction: a count
// started afterwards goes on from the corrected total, and its stop does not bring back the old.
E2E_CASE("overview.a_count_after_a_correction_goes_on_from_the_corrected_total") {
    Scene scene(1);
    const HWND dialog = OpenOverview(scene.app, scene.main);
    PickRow(scene.app, dialog, 1);
    const HWND total =
        OpenCorrection(scene.app, dialog, IDC_CHANGE_TOTAL, "Change total", scene.records[1].first);
    SetFieldText(scene.app, Control(total, IDC_TOTAL_EDIT), "005:00:00");
    ClickButton(total, IDOK);
    WaitUntilClosed(total);
    RequestClose(dialog);
    WaitUntilClosed(dialog);
    CheckNoMessage(scene.app, scene.main);

    Records corrected = scene.records;
    corrected[1].second = "005:00:00";
    StartCount(scene.app, scene.main);
    const long shown = StopRunningCount(scene.main);
    WaitFor("the stop's save",
            [&] { return scene.scratch.ReadProjectFile() != ProjectFileBytes(corrected); });
    CHECK_SAVED_RUN(scene.scratch, corrected, 1, 5 * 3600, shown);
}
