// Text at the screen's DPI (also run at 144 and 192 DPI): each static's text fits its control,
// the fonts the program fits to its labels fill them, and a change of DPI refits them.
#include "scene.h"

using namespace e2e;

// Text that does not fit is cut off where the control ends, so its ink runs into the edges it
// overflows: the right one (and the left one too when centred), and, when centred vertically,
// the top and the bottom. A tight fit may touch the bottom, so that alone proves nothing.
static void CheckInkClearOfEdges(HWND control) {
    RECT client{}, ink{};
    GetClientRect(control, &client);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const bool centred = (style & SS_TYPEMASK) == SS_CENTER, middle = style & SS_CENTERIMAGE;
    const bool clear = Eventually(
        [&] {
            ink = InkBox(control);
            return ink.right > ink.left && ink.right < client.right && (!centred || ink.left > 0) &&
                   (!middle || (ink.top > 0 && ink.bottom < client.bottom));
        },
        2000);
    RecordCheck(clear, __FILE__, __LINE__,
                "text " + Quote(WindowText(control)) + " drawn from " + std::to_string(ink.left) +
                    "," + std::to_string(ink.top) + " to " + std::to_string(ink.right) + "," +
                    std::to_string(ink.bottom) + " is clear of the edges of a control of " +
                    std::to_string(client.right) + " x " + std::to_string(client.bottom));
}

// No static's text is wider or taller than the control that shows it: any text as seen on the
// screen, and text in the template's font (not one the program fits) measured in that font while
// the dialog is at the screen's DPI (`templateFonts`). Under Wine a font cannot be read across.
static void CheckStaticsFit(HWND dialog, bool templateFonts = true) {
    const int fitted[] = {IDC_TIME_DISPLAY, IDC_LABEL_CURRENT, IDC_LABEL_CHOOSE, IDC_TOTAL_DISPLAY,
                          IDC_PRODUCT_NAME};
    int statics = 0;
    for (HWND control : VisibleWindowsOfClass("Static")) {
        if (GetParent(control) != dialog ||
            (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            continue;
        ++statics;
        if (WindowText(control).empty())
            continue; // nothing to show yet (the total before a pick, a save that did not fail)
        CheckInkClearOfEdges(control);
        if (!templateFonts ||
            std::count(std::begin(fitted), std::end(fitted), GetDlgCtrlID(control)))
            continue;
        RECT client{};
        GetClientRect(control, &client);
        const SIZE text = TemplateTextSize(control, "MS Sans Serif", 8);
        RecordCheck(text.cx <= client.right && text.cy <= client.bottom, __FILE__, __LINE__,
                    "text " + Quote(WindowText(control)) + " of " + std::to_string(text.cx) +
                        " x " + std::to_string(text.cy) + " fits a control of " +
                        std::to_string(client.right) + " x " + std::to_string(client.bottom));
    }
    CHECK(statics > 0);
}

// The height of the control's text once it is drawn.
static int DrawnHeight(HWND control) {
    return WaitFor("the control's text to be drawn", [&] {
        const RECT ink = InkBox(control);
        return ink.bottom - ink.top;
    });
}

// A fitted font fills its control in one direction: its text takes at least half the height
// or three quarters of the width.
static void CheckFills(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    const RECT ink = InkBox(control);
    std::printf("  %s: text %ld px high in %ld\n", Quote(WindowText(control)).c_str(),
                ink.bottom - ink.top, client.bottom);
    CHECK((ink.bottom - ink.top) * 2 >= client.bottom ||
          (ink.right - ink.left) * 4 >= client.right * 3);
}

static void CloseSide(HWND dialog) {
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    WaitUntilClosed(dialog);
}

static int ScreenDpi() {
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi;
}

// What Windows does when a dialog moves to a monitor of `to` DPI: a resized frame (at the screen's
// corner, to stay on it) and WM_DPICHANGED, less its frame pointer, which cannot cross processes.
static void ChangeDpi(HWND dialog, int from, int to) {
    RECT frame{};
    GetWindowRect(dialog, &frame);
    SetWindowPos(dialog, nullptr, 0, 0, MulDiv(frame.right - frame.left, to, from),
                 MulDiv(frame.bottom - frame.top, to, from), SWP_NOZORDER | SWP_NOACTIVATE);
    Ask(dialog, WM_DPICHANGED, MAKEWPARAM(to, to), 0);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    PumpMessages(300);
}

// The text's height follows the DPI, give or take a step of the fitting.
static void CheckInkScaled(HWND control, int before, int from, int to) {
    const int expected = MulDiv(before, to, from), tolerance = 2 + expected / 10;
    int now = 0;
    Eventually([&] { return std::abs((now = DrawnHeight(control)) - expected) <= tolerance; },
               2000);
    CHECK_NEAR(now, expected, tolerance);
}

E2E_CASE("layout.every_static_text_fits_its_control") {
    // The project of the longest total picked, so that its total under the box is checked too.
    auto [scratch, records, original, app, main] = Scene(2);
    std::printf("  screen at %d DPI\n", ScreenDpi());
    CHECK_EQ(TotalShown(main), "Total: 100:00:01");
    CheckStaticsFit(main);
    for (int id : {IDC_TIME_DISPLAY, IDC_LABEL_CURRENT, IDC_LABEL_CHOOSE})
        CheckFills(Control(main, id));
    // Every side dialog, and in the overview the correction dialogs for its second project.
    const auto checkSide = [&](HWND parent, int button, const char* caption) {
        const HWND dialog = OpenFromMain(app, parent, button, caption);
        CheckStaticsFit(dialog);
        return dialog;
    };
    CloseSide(checkSide(main, IDC_NEW_PROJECT, "Create new project"));
    const HWND overview = checkSide(main, IDC_OVERVIEW, "Project time overview ");
    Ask(Control(overview, IDC_OVERVIEW_LIST), LB_SETCURSEL, 2, 0);
    CloseSide(checkSide(overview, IDC_CHANGE_TOTAL, "Change total"));
    CloseSide(checkSide(overview, IDC_RENAME, "Rename project"));
    CloseSide(overview);
    const HWND about = checkSide(main, IDC_ABOUT, "About");
    CheckFills(Control(about, IDC_PRODUCT_NAME));
    CloseSide(about);
    const HWND settings = OpenSettings(app, main);
    CheckStaticsFit(settings);
    CloseSide(settings);
    CHECK(OpenMessages(app).empty());
}

E2E_CASE("layout.dpi_change_refits_the_fonts") {
    auto [scratch, records, original, app, main] = Scene();
    // Up by half, or down by a quarter where half as much again would not fit the screen.
    const int dpi = ScreenDpi(), other = dpi >= 192 ? dpi * 3 / 4 : dpi * 3 / 2;
    const int ids[] = {IDC_TIME_DISPLAY, IDC_LABEL_CURRENT, IDC_LABEL_CHOOSE, IDC_START};
    int inkBefore[4];
    RECT rectBefore[4];
    for (int i = 0; i < 4; ++i) {
        rectBefore[i] = RectInDialog(main, Control(main, ids[i]));
        inkBefore[i] = DrawnHeight(Control(main, ids[i]));
    }

    ChangeDpi(main, dpi, other);
    for (int i = 0; i < 4; ++i) {
        const RECT rect = RectInDialog(main, Control(main, ids[i]));
        CHECK_NEAR(rect.left, MulDiv(rectBefore[i].left, other, dpi), 1);
        CHECK_NEAR(rect.bottom - rect.top,
                   MulDiv(rectBefore[i].bottom - rectBefore[i].top, other, dpi), 1);
        if (i < 3)
            CheckInkScaled(Control(main, ids[i]), inkBefore[i], dpi, other);
    }
    CheckStaticsFit(main, false);

    // And back: the text returns to its first size.
    ChangeDpi(main, other, dpi);
    for (int i = 0; i < 3; ++i)
        CheckInkScaled(Control(main, ids[i]), inkBefore[i], dpi, dpi);

    const HWND about = OpenAbout(app, main);
    const HWND name = Control(about, IDC_PRODUCT_NAME);
    const int nameBefore = DrawnHeight(name);
    ChangeDpi(about, dpi, other);
    CheckInkScaled(name, nameBefore, dpi, other);
    CheckStaticsFit(about, false);
    CloseSide(about);
    CHECK(OpenMessages(app).empty());
}
