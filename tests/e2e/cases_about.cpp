// The About box: "About" opens it while the count is stopped or paused, never while it runs; it
// names the product, its copyright and its licence, and Enter or Escape closes it with the
// count as it was.
#include "scene.h"

using namespace e2e;

namespace {

const Records kOneProject = {{"Alpha", "000:10:00"}};

void CALLBACK NoteAnswer(HWND, UINT, ULONG_PTR answered, LRESULT) {
    *reinterpret_cast<bool*>(answered) = true;
}

} // namespace

E2E_CASE("about.opens_when_stopped_with_name_copyright_and_licence_and_enter_closes_it") {
    Scene scene{Setup(kOneProject)};
    auto& [scratch, records, original, app, dialog] = scene;

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
    Scene scene({kOneProject, 0});
    auto& [scratch, records, original, app, dialog] = scene;
    StartCount(app, dialog);
    Press(dialog, IDC_PAUSE);
    const std::string paused = Shown(dialog);
    const long pausedSeconds = ShownSeconds(dialog);

    const HWND about = OpenAbout(app, dialog);
    CHECK_EQ(WindowText(Control(about, IDC_PRODUCT_NAME)), "Quillet 1.0");
    LetASecondPass();
    CHECK_EQ(Shown(dialog), paused);

    PressKeyInFront(about, VK_ESCAPE);
    WaitUntilClosed(about);
    LetASecondPass();
    CHECK_EQ(Shown(dialog), paused);
    // "pause" resumes the count from where it stood (a busy machine may skip a second).
    ClickButton(dialog, IDC_PAUSE);
    CHECK_NEAR(NextTick(dialog).seconds, pausedSeconds + 1, 1);

    StopAndClose(app, dialog);
}

E2E_CASE("about.does_not_open_while_the_count_runs") {
    Scene scene({kOneProject, 0});
    auto& [scratch, records, original, app, dialog] = scene;
    StartCount(app, dialog);

    // Sent with a reply callback: the answer comes once the click is handled, unless it opened
    // a modal box, which then shows instead.
    bool answered = false;
    SendMessageCallbackW(dialog, WM_COMMAND, MAKEWPARAM(IDC_ABOUT, BN_CLICKED),
                         reinterpret_cast<LPARAM>(Control(dialog, IDC_ABOUT)), NoteAnswer,
                         reinterpret_cast<ULONG_PTR>(&answered));
    WaitFor("the click on \"About\" to be handled",
            [&] { return answered || FindDialog(app, "About"); });
    CHECK(answered);
    CHECK(FindDialog(app, "About") == nullptr);
    CHECK(app.Windows() == std::vector<HWND>{dialog});
    // The count runs on.
    const long before = ShownSeconds(dialog);
    CHECK(NextTick(dialog).seconds > before);

    StopAndClose(app, dialog);
}
