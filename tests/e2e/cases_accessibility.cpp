// Screen readers: the lists a user picks a project from are announced by name, while the
// screen shows the same texts as before.
#include "scene.h"

using namespace e2e;

// Compares the announced name where the system takes annotations; elsewhere (Wine 8, whose
// accessibility layer ignores them) the name can be read but not the program's choice of it.
static void CheckAnnounced(HWND control, const char* expected) {
    static const bool annotates = SystemAnnotatesNames();
    const std::optional<std::string> name = AccessibleName(control);
    if (annotates)
        CHECK_EQ(name, std::optional<std::string>(expected));
    else
        std::printf("  not compared, as this system takes no annotations: %s (read back: %s)\n",
                    Quote(expected).c_str(), Describe(name).c_str());
}

E2E_CASE("accessibility.project_lists_are_announced_by_name") {
    auto [scratch, records, original, app, main] = Scene();
    CheckAnnounced(Control(main, IDC_PROJECT_COMBO), "Choose project");
    CHECK_EQ(WindowText(Control(main, IDC_LABEL_CHOOSE)), "Choose project:");

    HWND dialog = OpenDeleteDialog(app, main);
    CheckAnnounced(Control(dialog, IDC_DELETE_COMBO), "Project to delete");
    CloseSideDialog(app, main, dialog, IDC_CLOSE);

    dialog = OpenOverview(app, main);
    CheckAnnounced(Control(dialog, IDC_OVERVIEW_LIST), "Projects and their totals");
    CHECK_EQ(ListBoxItems(Control(dialog, IDC_OVERVIEW_LIST)).size(), size_t{3});
    RequestClose(dialog);
    WaitUntilClosed(dialog);
    CHECK_FILE(scratch, original);

    // The settings' up-down arrows are named after the field they change.
    dialog = OpenSettings(app, main);
    CheckAnnounced(Control(dialog, IDC_AWAY_SPIN), "Away after this many minutes without input");
    CloseSideDialog(app, main, dialog, IDCANCEL);
}
