// Scenes for the screenshots of the About box and of the tray icon in docs/, taken by
// scripts/screenshots.sh. Not registered as tests.
#include "scene.h"

#include <algorithm>
#include <vector>

using namespace e2e;

namespace {

RECT Union(RECT a, const RECT& b) {
    a.left = std::min(a.left, b.left);
    a.top = std::min(a.top, b.top);
    a.right = std::max(a.right, b.right);
    a.bottom = std::max(a.bottom, b.bottom);
    return a;
}

} // namespace

E2E_CASE("screenshot.about") {
    Scene scene(Tray(SampleProjects()));
    auto& [scratch, records, original, app, dialog] = scene;
    const HWND about = OpenAbout(app, dialog);
    CHECK(OpenMessages(app).empty());
    OfferScreenshot(about, "about");
    PostMessageW(about, WM_COMMAND, IDOK, 0);
    WaitUntilClosed(about);
    CloseToExit(app, dialog);
}

// Wine's notification area with the icon and its tip, the dialog hidden behind it while a count
// runs.
E2E_CASE("screenshot.tray") {
    Scene scene(Tray(SampleProjects(), 0));
    auto& [scratch, records, original, app, dialog] = scene;
    StartCount(app, dialog);
    const std::vector<HWND> before = IconWindows();
    MinimizeToTray(dialog);
    const HWND icon = WaitForNewIconWindow(before);
    const HWND tip = PointAtIconForItsTip(icon);
    CHECK(WindowText(tip).find(": running ") != std::string::npos);

    RECT tray{}, tipRect{};
    GetWindowRect(GetAncestor(icon, GA_ROOT), &tray);
    GetWindowRect(tip, &tipRect);
    RECT area = Union(tray, tipRect);
    InflateRect(&area, 8, 8);
    area.left = std::max(area.left, 0L);
    area.top = std::max(area.top, 0L);
    OfferScreenshot(area, "tray");

    MouseOverIcon(dialog, WM_LBUTTONUP);
    StopAndClose(app, dialog);
}
