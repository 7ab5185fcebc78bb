// The keyboard while a count runs: Tab moves the focus through the main dialog and Space presses
// the focused button, so "pause" and "stop" can be reached without a mouse.
#include "scene.h"

using namespace e2e;

namespace {

// Presses Tab `times` times and returns the window that then has the focus.
HWND TabForward(HWND main, int times) {
    for (int i = 0; i < times; ++i) {
        PressKey(FocusOf(main), VK_TAB);
        FlushPosted(main);
    }
    return FocusOf(main);
}

// Space on the focused button presses it, as a click does.
void PressSpace(HWND main) {
    PressKey(FocusOf(main), VK_SPACE);
    FlushPosted(main);
}

} // namespace

E2E_CASE("counting.keyboard_reaches_pause_and_stop_while_running") {
    Scene scene(0);
    auto& [scratch, records, original, app, main] = scene;
    const long loaded = ParseTimeLine(records[0].second);
    StartCount(app, main);
    REQUIRE(FocusOf(main) == ComboField(Control(main, IDC_PROJECT_COMBO)));

    // Tab order: project box, "start", "stop", "minimize", "pause"; the side dialogs' buttons,
    // greyed while a count runs, are passed over.
    CHECK(TabForward(main, 2) == Control(main, IDC_STOP));
    CHECK(TabForward(main, 2) == Control(main, IDC_PAUSE));
    CHECK(OpenMessages(app).empty());
    PressSpace(main);
    const long held = ShownSeconds(main);
    CheckHolds(main, held);

    // Space again resumes; then Tab wraps round to "stop" and Space stops and saves.
    PressSpace(main);
    const long resumed = WaitForShownChange(main, held);
    CHECK(TabForward(main, 3) == Control(main, IDC_STOP));
    const long shown = ShownSeconds(main);
    PressSpace(main);
    CHECK(shown >= resumed);
    CHECK_EQ(Shown(main), "00:00:00");
    CHECK_SAVED_RUN(scratch, records, 0, loaded, shown);
    CHECK(OpenMessages(app).empty());
}
