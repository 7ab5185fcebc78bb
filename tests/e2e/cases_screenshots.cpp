// Scenes for the screenshots in docs/, taken by scripts/screenshots.sh (which runs the driver
// with --shots). Not registered as tests.
#include "scene.h"

using namespace e2e;
using namespace e2e::counting;

E2E_CASE("screenshot.main") {
    Scratch scratch;
    scratch.WriteProjectFile(ProjectFileBytes({
        {"Website relaunch", "012:34:56"},
        {"Customer support", "003:05:00"},
        {"Annual report 2025", "000:45:10"},
    }));
    App app(scratch.ExePath(), scratch.WorkDir());
    const HWND dialog = StartIdle(app);
    // A count under way: the project's total under the box, the side buttons greyed.
    Pick(dialog, 0);
    StartCount(app, dialog);
    WaitForShownAtLeast(dialog, 3);
    OfferScreenshot(dialog, "main-dialog");
    Press(dialog, IDC_STOP);
}

// The question about time away, asked when the user is back (here after a locked session).
E2E_CASE("screenshot.away") {
    Scratch scratch;
    scratch.WriteProjectFile(ProjectFileBytes({{"Website relaunch", "012:34:56"}}));
    App app(scratch.ExePath(), scratch.WorkDir());
    const HWND dialog = StartIdle(app);
    Pick(dialog, 0);
    StartCount(app, dialog);
    Ask(dialog, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
    WaitForShownAtLeast(dialog, 3);
    Ask(dialog, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
    MoveMouseTo(POINT{5, 5});
    const MessageBoxInfo question = dialogs::WaitForQuestion(app);
    OfferScreenshot(question.hwnd, "away-question");
    dialogs::Answer(question, IDYES);
    Press(dialog, IDC_STOP);
}
