// Scenes for the screenshots in docs/, taken by scripts/screenshots.sh; not registered as tests.
#include "scene.h"

using namespace e2e;

E2E_CASE("screenshot.main") {
    auto [scratch, records, original, app, dialog] = Scene(Setup(SampleProjects(), 0));
    // A count under way: the project's total under the box, the side buttons greyed.
    StartCount(app, dialog);
    WaitForShownAtLeast(dialog, 3);
    OfferScreenshot(dialog, "main-dialog");
    Press(dialog, IDC_STOP);
}

// The question about time away, asked when the user is back (here after a locked session).
E2E_CASE("screenshot.away") {
    auto [scratch, records, original, app, dialog] = Scene(Setup(SampleProjects(), 0));
    StartCount(app, dialog);
    Ask(dialog, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
    WaitForShownAtLeast(dialog, 3);
    Ask(dialog, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
    MoveMouseTo(POINT{5, 5});
    const MessageBoxInfo question = WaitForQuestion(app);
    OfferScreenshot(question.hwnd, "away-question");
    Answer(question, IDYES);
    Press(dialog, IDC_STOP);
}
