// The About box: "About" opens it while the count is stopped or paused, never while it runs; it
// names the product, its copyright and its licence, and Enter or Escape closes it with the
// count as it was.
#include "tray_about_helpers.h"

using namespace e2e;
using namespace e2e::trayabout;

namespace {

const std::string kOneProject = ProjectFileBytes({{"Alpha", "000:10:00"}});

HWND FindAbout(const App& app) {
    for (HWND hwnd : app.Windows())
        if (ClassName(hwnd) == "#32770" && !IsMessageBox(hwnd) && WindowText(hwnd) == "About")
            return hwnd;
    return nullptr;
}

HWND OpenAbout(const App& app, HWND dialog) {
    ClickButton(dialog, IDC_ABOUT);
    const HWND about = WaitFor("the About box", [&] { return FindAbout(app); });
    app.Settle(about);
    return about;
}

// A key pressed on the keyboard, which goes to the window in front.
void PressKey(HWND expectedInFront, WORD key) {
    WaitFor("the About box to be in front",
            [&] { return GetForegroundWindow() == expectedInFront; });
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

void CALLBACK NoteAnswer(HWND, UINT, ULONG_PTR answered, LRESULT) {
    *reinterpret_cast<bool*>(answered) = true;
}

void WaitForClosed(HWND about) {
    WaitFor("the About box to close", [&] { return !IsWindow(about); });
}

} // namespace

E2E_CASE("about.opens_when_stopped_with_name_copyright_and_licence_and_enter_closes_it") {
    Scratch scratch;
    scratch.WriteProjectFile(kOneProject);
    App app(scratch.ExePath(), scratch.WorkDir());
    const HWND dialog = app.WaitForMainDialog();
    app.Settle(dialog);

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
    CHECK(app.MessageBoxes().empty());

    PressKey(about, VK_RETURN);
    WaitForClosed(about);
    CHECK(FindAbout(app) == nullptr);
    CHECK(app.FindMainDialog() == dialog);
    CHECK_EQ(Display(dialog), "00:00:00");
    // Still stopped: the close box ends the program.
    RequestClose(dialog);
    CHECK(app.WaitForExit());
    CHECK_EQ(scratch.ReadProjectFile(), std::optional<std::string>(kOneProject));
}

E2E_CASE("about.opens_while_paused_and_the_count_stays_paused") {
    Scratch scratch;
    scratch.WriteProjectFile(kOneProject);
    App app(scratch.ExePath(), scratch.WorkDir());
    const HWND dialog = app.WaitForMainDialog();
    app.Settle(dialog);
    StartCount(dialog);
    ClickButtonNow(dialog, IDC_PAUSE);
    const std::string paused = Display(dialog);
    const long pausedSeconds = DisplaySeconds(dialog);

    const HWND about = OpenAbout(app, dialog);
    CHECK_EQ(WindowText(Control(about, IDC_PRODUCT_NAME)), "Quillet 1.0");
    LetASecondPass();
    CHECK_EQ(Display(dialog), paused);

    PressKey(about, VK_ESCAPE);
    WaitForClosed(about);
    LetASecondPass();
    CHECK_EQ(Display(dialog), paused);
    // "pause" resumes the count from where it stood (a busy machine may skip a second).
    ClickButton(dialog, IDC_PAUSE);
    CHECK_NEAR(NextTick(dialog).seconds, pausedSeconds + 1, 1);

    StopAndClose(app, dialog);
}

E2E_CASE("about.does_not_open_while_the_count_runs") {
    Scratch scratch;
    scratch.WriteProjectFile(kOneProject);
    App app(scratch.ExePath(), scratch.WorkDir());
    const HWND dialog = app.WaitForMainDialog();
    app.Settle(dialog);
    StartCount(dialog);

    // Sent with a reply callback: the answer comes once the click is handled, unless it opened
    // a modal box, which then shows instead.
    bool answered = false;
    SendMessageCallbackW(dialog, WM_COMMAND, MAKEWPARAM(IDC_ABOUT, BN_CLICKED),
                         reinterpret_cast<LPARAM>(Control(dialog, IDC_ABOUT)), NoteAnswer,
                         reinterpret_cast<ULONG_PTR>(&answered));
    WaitFor("the click on \"About\" to be handled", [&] { return answered || FindAbout(app); });
    CHECK(answered);
    CHECK(FindAbout(app) == nullptr);
    CHECK(app.Windows() == std::vector<HWND>{dialog});
    // The count runs on.
    const long before = DisplaySeconds(dialog);
    CHECK(NextTick(dialog).seconds > before);

    StopAndClose(app, dialog);
}
