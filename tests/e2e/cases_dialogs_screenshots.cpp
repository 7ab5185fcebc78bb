// Scenes for the screenshots of the create, delete, overview, correction and settings dialogs in
// docs/, taken by scripts/screenshots.sh. Not registered as tests.
#include "scene.h"

using namespace e2e;

E2E_CASE("screenshot.create_project") {
    Scene scene{Setup(SampleProjects())};
    auto& [scratch, records, original, app, main] = scene;
    const HWND dialog = OpenCreateDialog(app, main);
    const HWND field = Control(dialog, IDC_PROJECT_NAME);
    TypeText(field, "Quarterly figures");
    WaitFor("the typed name", [&] { return WindowText(field) == "Quarterly figures"; });
    OfferScreenshot(dialog, "create-project");
}

E2E_CASE("screenshot.delete_project") {
    Scene scene{Setup(SampleProjects())};
    auto& [scratch, records, original, app, main] = scene;
    const HWND dialog = OpenDeleteDialog(app, main);
    ChooseComboItem(dialog, IDC_DELETE_COMBO, 4);
    app.Settle(dialog);
    OfferScreenshot(dialog, "delete-project");
}

E2E_CASE("screenshot.overview") {
    Scene scene{Setup(SampleProjects())};
    auto& [scratch, records, original, app, main] = scene;
    const HWND dialog = OpenOverview(app, main);
    Ask(Control(dialog, IDC_OVERVIEW_LIST), LB_SETCURSEL, 1, 0);
    app.Settle(dialog);
    OfferScreenshot(dialog, "overview");
}

E2E_CASE("screenshot.change_total") {
    Scene scene{Setup(SampleProjects())};
    auto& [scratch, records, original, app, main] = scene;
    const HWND overview = OpenOverview(app, main);
    Ask(Control(overview, IDC_OVERVIEW_LIST), LB_SETCURSEL, 3, 0);
    ClickButton(overview, IDC_CHANGE_TOTAL);
    const HWND dialog = WaitForDialog(app, "Change total");
    SetFieldText(app, Control(dialog, IDC_TOTAL_EDIT), "103:30:00");
    OfferScreenshot(dialog, "change-total");
}

E2E_CASE("screenshot.settings") {
    Scene scene{Setup(SampleProjects())};
    auto& [scratch, records, original, app, main] = scene;
    const HWND dialog = OpenSettings(app, main);
    OfferScreenshot(dialog, "settings");
}
