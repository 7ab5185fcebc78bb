// The About box opens while the count is stopped or paused, never while it runs; Enter or Escape
// closes it with the count as it was.
#include "scene.h"

using namespace e2e;

static const Records kOneProject = {{"Alpha", "000:10:00"}};

E2E_CASE("about.opens_when_stopped_with_name_copyright_and_licence_and_enter_closes_it") {
    auto [scratch, records, original, app, dialog] = Scene(Setup(kOneProject));

    const HWND about = OpenAbout(app, dialog);
    CHECK_EQ(WindowText(Control(about, IDC_PRODUCT_NAME)), "Quillet 1.0");
    const HWND copyright = Control(about, IDC_COPYRIGHT);
    CHECK_EQ(WindowText(copyright), "Copyright (C) 2026 The Quillet authors");
    CHECK_EQ(WindowText(Control(about, IDC_LICENSE)), "Free software under the MIT License");
    // The lines can be selected and copied, not changed.
    for (wchar_t c : std::wstring(L"x\b"))
        Ask(copyright, WM_CHAR, c, 1);
    CHECK_EQ(WindowText(copyright), "Copyright (C) 2026 The Quillet authors");
    CHECK(IsWindowVisible(dialog));
    CHECK(OpenMessages(app).empty());

    PressKeyInFront(about, VK_RETURN);
    WaitUntilClosed(about);
    CHECK(FindDialog(app, "About") == nullptr);
    CHECK(app.FindMainDialog() == dialog);
    CHECK_EQ(Shown(dialog), "00:00:00");
    // Still stopped: the close box ends the program.
    CloseToExit(app, dialog);
    CHECK_FILE(scratch, original);
}

E2E_CASE("about.opens_while_paused_and_the_count_stays_paused") {
    auto [scratch, records, original, app, dialog] = Scene({kOneProject, 0});
    StartCount(app, dialog);
    const long pausedSeconds = PauseCount(dialog);

    const HWND about = OpenAbout(app, dialog);
    CHECK_EQ(WindowText(Control(about, IDC_PRODUCT_NAME)), "Quillet 1.0");
    CheckHolds(dialog, pausedSeconds);

    PressKeyInFront(about, VK_ESCAPE);
    WaitUntilClosed(about);
    CheckHolds(dialog, pausedSeconds);
    // "pause" resumes the count from where it stood (a busy machine may skip a second).
    ClickButton(dialog, IDC_PAUSE);
    CHECK_NEAR(NextTick(dialog).seconds, pausedSeconds + 1, 1);

    StopAndClose(app, dialog);
}

E2E_CASE("about.does_not_open_while_the_count_runs") {
    auto [scratch, records, original, app, dialog] = Scene({kOneProject, 0});
    StartCount(app, dialog);

    // The click is sent: an About box opened by it would hold back the answer and fail the case.
    Ask(dialog, WM_COMMAND, MAKEWPARAM(IDC_ABOUT, BN_CLICKED),
        reinterpret_cast<LPARAM>(Control(dialog, IDC_ABOUT)));
    CHECK(FindDialog(app, "About") == nullptr);
    CHECK(app.Windows() == std::vector<HWND>{dialog});
    // The count runs on.
    const long before = ShownSeconds(dialog);
    CHECK(NextTick(dialog).seconds > before);

    StopAndClose(app, dialog);
}
