// Screenshot scenes of the About box and the tray icon (see cases_screenshots.cpp).
#include "scene.h"

using namespace e2e;

E2E_CASE("screenshot.about") {
    auto [scratch, records, original, app, dialog] = Scene(Tray(SampleProjects()));
    const HWND about = OpenAbout(app, dialog);
    CHECK(OpenMessages(app).empty());
    OfferScreenshot(about, "about");
    CloseSideDialog(app, dialog, about, IDOK);
    CloseToExit(app, dialog);
}

// Wine's notification area with the icon and its tip, the dialog hidden behind it while a count
// runs.
E2E_CASE("screenshot.tray") {
    auto [scratch, records, original, app, dialog] = Scene(Tray(SampleProjects(), 0));
    StartCount(app, dialog);
    const HWND icon = MinimizeToIcon(dialog);
    const HWND tip = PointAtIconForItsTip(icon);
    CHECK(WindowText(tip).find(": running ") != std::string::npos);

    RECT tray{}, tipRect{}, area{};
    GetWindowRect(GetAncestor(icon, GA_ROOT), &tray);
    GetWindowRect(tip, &tipRect);
    UnionRect(&area, &tray, &tipRect);
    InflateRect(&area, 8, 8);
    area.left = std::max(area.left, 0L);
    area.top = std::max(area.top, 0L);
    OfferScreenshot(area, "tray");

    MouseOverIcon(dialog, WM_LBUTTONUP);
    StopAndClose(app, dialog);
}
