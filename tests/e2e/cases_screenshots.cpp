// Scenes for the screenshots in docs/, taken by scripts/screenshots.sh (which runs the driver
// with --shots). Not registered as tests.
#include "Check.h"
#include "Driver.h"

using namespace e2e;

E2E_CASE("screenshot.main") {
    Scratch scratch;
    scratch.WriteProjectFile(ProjectFileBytes({
        {"Website relaunch", "012:34:56"},
        {"Customer support", "003:05:00"},
        {"Annual report 2025", "000:45:10"},
    }));
    App app(scratch.ExePath(), scratch.WorkDir());
    const HWND dialog = app.WaitForMainDialog();
    app.Settle(dialog);
    CHECK(app.MessageBoxes().empty());
    OfferScreenshot(dialog, "main-dialog");
}
