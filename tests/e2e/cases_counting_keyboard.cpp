// While a count runs, Tab and Space reach "pause" and "stop" without a mouse.
#include "scene.h"

using namespace e2e;

// Presses `key` `times` times where the focus is; returns the window that then has the focus.
static HWND PressKeys(HWND main, UINT key, int times = 1) {
    for (int i = 0; i < times; ++i) {
        PressKey(FocusOf(main), key);
        FlushPosted(main);
    }
    return FocusOf(main);
}

E2E_CASE("counting.keyboard_reaches_pause_and_stop_while_running") {
    auto [scratch, records, original, app, main] = Scene(0);
    StartCount(app, main);
    REQUIRE(FocusOf(main) == ComboField(Control(main, IDC_PROJECT_COMBO)));

    // Tab order: project box, "start", "stop", "minimize", "pause"; the side dialogs' buttons,
    // greyed while a count runs, are passed over.
    CHECK(PressKeys(main, VK_TAB, 2) == Control(main, IDC_STOP));
    CHECK(PressKeys(main, VK_TAB, 2) == Control(main, IDC_PAUSE));
    CHECK(OpenMessages(app).empty());
    PressKeys(main, VK_SPACE);
    const long held = ShownSeconds(main);
    CheckHolds(main, held);

    // Space again resumes; then Tab wraps round to "stop" and Space stops and saves.
    PressKeys(main, VK_SPACE);
    const long resumed = WaitForShownChange(main, held);
    CHECK(PressKeys(main, VK_TAB, 3) == Control(main, IDC_STOP));
    const long shown = ShownSeconds(main);
    PressKeys(main, VK_SPACE);
    CHECK(shown >= resumed);
    CHECK_EQ(Shown(main), "00:00:00");
    CHECK_SAVED_RUN(scratch, records, 0, kZetaSeconds, shown);
    CHECK(OpenMessages(app).empty());
}
