// Scenes for the screenshots of the create, delete, overview, correction and settings dialogs in
// docs/, taken by scripts/screenshots.sh. Not registered as tests.
#include "scene.h"

using namespace e2e;

E2E_CASE("screenshot.create_project") {
    Scene scene{Setup(SampleProjects())};
    const HWND dialog = OpenCreateDialog(scene.app, scene.main);
    SetFieldText(scene.app, Control(dialog, IDC_PROJECT_NAME), "Quarterly figures");
    OfferScreenshot(dialog, "create-project");
}

E2E_CASE("screenshot.delete_project") {
    Scene scene{Setup(SampleProjects())};
    const HWND dialog = OpenDeleteDialog(scene.app, scene.main);
    ChooseComboItem(dialog, IDC_DELETE_COMBO, 4);
    scene.app.Settle(dialog);
    OfferScreenshot(dialog, "delete-project");
}

E2E_CASE("screenshot.overview") {
    Scene scene{Setup(SampleProjects())};
    const HWND dialog = OpenOverview(scene.app, scene.main);
    Ask(Control(dialog, IDC_OVERVIEW_LIST), LB_SETCURSEL, 1, 0);
    scene.app.Settle(dialog);
    OfferScreenshot(dialog, "overview");
}

E2E_CASE("screenshot.change_total") {
    Scene scene{Setup(SampleProjects())};
    const HWND overview = OpenOverview(scene.app, scene.main);
    Ask(Control(overview, IDC_OVERVIEW_LIST), LB_SETCURSEL, 3, 0);
    ClickButton(overview, IDC_CHANGE_TOTAL);
    const HWND dialog = WaitForDialog(scene.app, "Change total");
    SetFieldText(scene.app, Control(dialog, IDC_TOTAL_EDIT), "103:30:00");
    OfferScreenshot(dialog, "change-total");
}

E2E_CASE("screenshot.settings") {
    Scene scene{Setup(SampleProjects())};
    OfferScreenshot(OpenSettings(scene.app, scene.main), "settings");
}
