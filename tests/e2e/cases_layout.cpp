// The main dialog as its template lays it out (320 x 200 dialog units of "MS Sans Serif" 8,
// centred): every control's id, class, text, place, size and styles, in tab order.
#include "scene.h"

using namespace e2e;

struct TemplateControl {
    int id;
    const char* className;
    const char* text;
    int x, y, cx, cy;
    DWORD type;   // the low style bits that pick the kind of control
    DWORD styles; // further style bits that must be set
};

constexpr DWORD kMiddle = SS_CENTERIMAGE | WS_GROUP, kFlat = BS_FLAT | WS_TABSTOP;

// Template order, which is also the tab order.
static const TemplateControl kMainControls[] = {
    // A combo box passes WS_VSCROLL on to its list, so its own window does not keep it.
    {IDC_PROJECT_COMBO, "ComboBox", nullptr, 7, 57, 176, 56, CBS_DROPDOWN, WS_TABSTOP},
    {IDC_LABEL_CURRENT, "Static", "Current time:", 7, 131, 60, 26, SS_LEFT, kMiddle},
    {IDC_LABEL_CHOOSE, "Static", "Choose project:", 7, 33, 69, 23, SS_LEFT, kMiddle},
    {IDC_START, "Button", "start", 193, 56, 25, 14, BS_PUSHBUTTON, WS_TABSTOP},
    {IDC_STOP, "Button", "stop", 262, 56, 25, 14, BS_PUSHBUTTON, WS_TABSTOP},
    {IDC_TIME_DISPLAY, "Static", "00:00:00", 90, 124, 92, 40, SS_CENTER, kMiddle},
    {IDC_MINIMIZE, "Button", "minimize", 7, 179, 51, 14, BS_PUSHBUTTON, WS_TABSTOP},
    {IDC_OVERVIEW, "Button", "Project time overview", 7, 7, 77, 10, BS_PUSHBUTTON, kFlat},
    {IDC_NEW_PROJECT, "Button", "Create new project", 97, 7, 77, 10, BS_PUSHBUTTON, kFlat},
    {IDC_DELETE_PROJECT, "Button", "Delete project", 186, 7, 54, 10, BS_PUSHBUTTON, kFlat},
    {IDC_ABOUT, "Button", "About", 254, 7, 24, 10, BS_PUSHBUTTON, kFlat},
    {IDC_PAUSE, "Button", "pause", 227, 56, 25, 14, BS_PUSHBUTTON, WS_TABSTOP},
    {IDC_TOTAL_DISPLAY, "Static", "", 7, 84, 176, 18, SS_LEFT, kMiddle},
    {IDC_SAVE_STATUS, "Static", "", 7, 166, 306, 10, SS_LEFT, WS_GROUP},
};

E2E_CASE("layout.main_dialog_controls_match_the_template") {
    auto [scratch, records, original, app, dialog] = Scene(Setup(Records{{"Alpha", "000:00:00"}}));
    const BaseUnits units = DialogBaseUnits("MS Sans Serif", 8);

    HWND child = GetWindow(dialog, GW_CHILD);
    for (const TemplateControl& item : kMainControls) {
        const HWND control = Control(dialog, item.id);
        CHECK_EQ(child, control); // next in tab order
        child = child ? GetWindow(child, GW_HWNDNEXT) : nullptr;
        CHECK_EQ(ClassName(control), item.className);
        if (item.text)
            CHECK_EQ(WindowText(control), std::string(item.text));

        const DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
        // The bits of the kind of control; a combo box's kinds are CBS_SIMPLE to CBS_DROPDOWNLIST.
        const std::string name = item.className;
        const DWORD kind = name == "Static" ? SS_TYPEMASK : name == "Button" ? BS_TYPEMASK : 0x3;
        CHECK_EQ(style & kind, item.type);
        CHECK_EQ(style & (item.styles | WS_CHILD | WS_VISIBLE),
                 item.styles | WS_CHILD | WS_VISIBLE);

        const RECT expected = DialogUnitsToPixels(units, item.x, item.y, item.cx, item.cy);
        const RECT actual = RectInDialog(dialog, control);
        CHECK_NEAR(actual.left, expected.left, 1);
        CHECK_NEAR(actual.top, expected.top, 1);
        CHECK_NEAR(actual.right - actual.left, expected.right - expected.left, 1);
        // A drop-down combo's window is one line high; the template's height is that of its
        // list, which Wine does not report as Windows does (CB_GETDROPPEDCONTROLRECT).
        if (item.id != IDC_PROJECT_COMBO)
            CHECK_NEAR(actual.bottom - actual.top, expected.bottom - expected.top, 1);
    }
    CHECK_EQ(child, HWND{}); // no further controls
}

E2E_CASE("layout.main_dialog_frame_size_and_place") {
    auto [scratch, records, original, app, dialog] = Scene(Setup(Records{}));
    RECT client{};
    GetClientRect(dialog, &client);
    const RECT expected = DialogUnitsToPixels(DialogBaseUnits("MS Sans Serif", 8), 0, 0, 320, 200);
    CHECK_NEAR(client.right, expected.right, 1);
    CHECK_NEAR(client.bottom, expected.bottom, 1);

    const DWORD style = static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE));
    const DWORD wanted = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    CHECK_EQ(style & (wanted | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), wanted);
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE));
    CHECK_EQ(exStyle & (WS_EX_APPWINDOW | WS_EX_DLGMODALFRAME),
             DWORD{WS_EX_APPWINDOW | WS_EX_DLGMODALFRAME});

    // Centred on the screen's work area.
    RECT frame{}, work{};
    GetWindowRect(dialog, &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    CHECK_NEAR(frame.left - work.left, work.right - frame.right, 1);
    CHECK_NEAR(frame.top - work.top, work.bottom - frame.bottom, 1);
}
