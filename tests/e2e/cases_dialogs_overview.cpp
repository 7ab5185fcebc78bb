// The project time overview: one row per project in file order, the name, a tab and the total
// as stored, with the totals lined up at 185 dialog units in the list. It writes nothing.
#include "scene.h"

#include <cstdint>

using namespace e2e;

namespace {

// The list's rows for these records: the name, a tab and the total.
std::vector<std::string> Rows(const Records& records) {
    std::vector<std::string> rows;
    for (const auto& [name, total] : records)
        rows.push_back(name + "\t" + total);
    return rows;
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
    const int height = static_cast<int>(Ask(list, LB_GETITEMHEIGHT, 0, 0));
    POINT origin{0, row * height};
    ClientToScreen(list, &origin);
    const std::vector<uint32_t> pixels =
        CaptureScreen({origin.x, origin.y, origin.x + client.right, origin.y + height});
    std::vector<Run> runs;
    for (int x = 1; x + 1 < client.right; ++x)
        for (int y = 1; y + 1 < height; ++y)
            if ((pixels[y * client.right + x] & 0x808080) == 0) { // each channel under 0x80
                if (runs.empty() || x - runs.back().end >= gap)
                    runs.push_back({x, x + 1});
                runs.back().end = x + 1;
                break;
            }
    return runs;
}

// The close box ends the overview and brings back the main dialog with no message.
void CloseOverview(const App& app, HWND main, HWND dialog) {
    RequestClose(dialog);
    WaitUntilClosed(dialog);
    CheckNoMessage(app, main);
}

// Picks row `row` of the overview's list, as a click on it does, opens "Change total..." or
// "Rename..." for it and checks that the dialog names project `name`.
HWND OpenCorrection(const App& app, HWND overview, int row, int button, const std::string& name) {
    Ask(Control(overview, IDC_OVERVIEW_LIST), LB_SETCURSEL, row, 0);
    app.Settle(overview);
    ClickButton(overview, button);
    const HWND dialog =
        WaitForDialog(app, button == IDC_RENAME ? "Rename project" : "Change total");
    app.Settle(dialog);
    CHECK_EQ(WindowText(Control(dialog, IDC_CORRECTION_PROJECT)), name);
    return dialog;
}

// Types `text` into the correction's field and presses OK.
void Enter(const App& app, HWND dialog, HWND field, const std::string& text) {
    SetFieldText(app, field, text);
    ClickButton(dialog, IDOK);
}

} // namespace

E2E_CASE("overview.rows_in_file_order_with_name_tab_and_total") {
    auto [scratch, records, original, app, main] = Scene();
    CreateProject(app, main, "Neu");
    records.push_back({"Neu", "000:00:00"});
    CHECK_FILE(scratch, ProjectFileBytes(records));

    const HWND dialog = OpenOverview(app, main);
    CheckNoMessage(app, dialog);
    const HWND list = Control(dialog, IDC_OVERVIEW_LIST);
    CHECK_EQ(ListBoxItems(list), Rows(records));
    CHECK_EQ(GetWindowLongW(list, GWL_STYLE) & (LBS_USETABSTOPS | LBS_SORT), LBS_USETABSTOPS);
    CHECK_EQ(static_cast<int>(Ask(list, LB_GETCURSEL, 0, 0)), LB_ERR);

    // Nothing was written and the project box is as it was.
    CloseOverview(app, main, dialog);
    CHECK_FILE(scratch, ProjectFileBytes(records));
    CheckProjectBoxUnselected(main, NamesOf(records));
}

// More projects than the list shows: every row, in order, and the scroll bar to reach the last
// (which a list filled with redraw off, never switched back on, would lack).
E2E_CASE("overview.more_rows_than_fit_get_a_scroll_bar") {
    Records sixty;
    for (int i = 1; i <= 60; ++i)
        sixty.push_back({"P" + std::to_string(i), "000:00:0" + std::to_string(i % 10)});
    Scene scene{Setup(sixty)};
    const HWND list = Control(OpenOverview(scene.app, scene.main), IDC_OVERVIEW_LIST);
    CHECK_EQ(ListBoxItems(list), Rows(sixty));
    CHECK((GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL) != 0);
    CHECK(IsWindowVisible(list));
}

// The totals start at the tab stop, 185 dialog units right of the list's left edge, under the
// "Time:" header; after a name wider than that they start at the next stop, 370 units.
E2E_CASE("overview.totals_line_up_at_185_dialog_units") {
    Scene scene{Setup({{"A", "000:00:00"}, {std::string(30, 'W'), "123:45:06"}})};
    const HWND list = Control(OpenOverview(scene.app, scene.main), IDC_OVERVIEW_LIST);
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

// "Change total..." and "Rename..." change only the picked record's time or name line; a wrong
// entry is refused with the reason and changes nothing; the list and the project box show it.
E2E_CASE("overview.change_total_and_rename_write_the_picked_record") {
    auto [scratch, records, original, app, main] = Scene(1);
    const HWND dialog = OpenOverview(app, main);
    ClickButton(dialog, IDC_CHANGE_TOTAL); // nothing picked yet
    AnswerMessage(app, kChooseProject);

    // The entry is taken: the correction closes with no message, and the file and the list
    // hold the records as changed.
    const auto accepted = [&](HWND correction, HWND field, const char* pszEntry) {
        Enter(app, correction, field, pszEntry);
        WaitUntilClosed(correction);
        CheckNoMessage(app, dialog);
        CHECK_FILE(scratch, ProjectFileBytes(records));
        CHECK_EQ(ListBoxItems(Control(dialog, IDC_OVERVIEW_LIST)), Rows(records));
    };
    const HWND total = OpenCorrection(app, dialog, 1, IDC_CHANGE_TOTAL, "alpha");
    const HWND field = Control(total, IDC_TOTAL_EDIT);
    CHECK_EQ(WindowText(field), "000:00:00");
    CHECK_EQ(FocusOf(total), field);
    for (const char* wrong : {"12:60:00", "1000:00:00", "ten"}) {
        Enter(app, total, field, wrong);
        AnswerMessage(app, "Please enter the total as HHH:MM:SS, for example 012:30:00: minutes "
                           "and seconds from 00 to 59, at most 999:59:59.");
        CHECK(IsWindow(total));
    }
    CHECK_FILE(scratch, original);
    records[1].second = "007:05:00";
    accepted(total, field, "7:05:00");
    CHECK_EQ(static_cast<int>(Ask(Control(dialog, IDC_OVERVIEW_LIST), LB_GETCURSEL, 0, 0)), 1);

    const HWND rename = OpenCorrection(app, dialog, 2, IDC_RENAME, records[2].first);
    const HWND name = Control(rename, IDC_NEW_NAME);
    CHECK_EQ(WindowText(name), records[2].first);
    Enter(app, rename, name, "");
    AnswerMessage(app, "Please enter a name for your project");
    records[2].first = "Office";
    accepted(rename, name, "Office");

    // Cancel changes nothing.
    const HWND cancelled = OpenCorrection(app, dialog, 2, IDC_RENAME, "Office");
    SetFieldText(app, Control(cancelled, IDC_NEW_NAME), "Other");
    ClickButton(cancelled, IDCANCEL);
    WaitUntilClosed(cancelled);
    CHECK_FILE(scratch, ProjectFileBytes(records));

    // The project box shows the new names and keeps the project chosen before.
    CloseOverview(app, main, dialog);
    const ProjectBox box = ReadProjectBox(main);
    CHECK_EQ(box.items, NamesOf(records));
    CHECK_EQ(box.selection, 1);
}

// The project chosen on the main dialog had its total loaded before the correction: a count
// started afterwards goes on from the corrected total, and its stop does not bring back the old.
E2E_CASE("overview.a_count_after_a_correction_goes_on_from_the_corrected_total") {
    auto [scratch, records, original, app, main] = Scene(1);
    const HWND dialog = OpenOverview(app, main);
    const HWND total = OpenCorrection(app, dialog, 1, IDC_CHANGE_TOTAL, records[1].first);
    Enter(app, total, Control(total, IDC_TOTAL_EDIT), "005:00:00");
    WaitUntilClosed(total);
    CloseOverview(app, main, dialog);

    records[1].second = "005:00:00";
    StartCount(app, main);
    const long shown = StopRunningCount(main);
    WaitFor("the stop's save",
            [&] { return scratch.ReadProjectFile() != ProjectFileBytes(records); });
    CHECK_SAVED_RUN(scratch, records, 1, 5 * 3600, shown);
}
