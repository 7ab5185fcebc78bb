// One copy per project file: a second start beside a running copy hands over to it and ends,
// while a copy with its own project file in another folder runs alongside.
#include "Check.h"
#include "Driver.h"

#include <windows.h>

#include "resource.h"

using namespace e2e;

namespace {

struct AllMainDialogs {
    std::vector<HWND> found;
};

BOOL CALLBACK CollectMainDialog(HWND hwnd, LPARAM param) {
    if (IsWindowVisible(hwnd) && ClassName(hwnd) == "#32770" && !IsMessageBox(hwnd) &&
        WindowText(hwnd) == "Quillet 1.0")
        reinterpret_cast<AllMainDialogs*>(param)->found.push_back(hwnd);
    return TRUE;
}

// Every visible main dialog on the desktop, of any process.
std::vector<HWND> MainDialogsOnScreen() {
    AllMainDialogs all;
    EnumWindows(CollectMainDialog, reinterpret_cast<LPARAM>(&all));
    return all.found;
}

} // namespace

E2E_CASE("instance.second_copy_hands_over_and_exits") {
    Scratch scratch;
    scratch.WriteProjectFile(ProjectFileBytes({{"Alpha", "000:00:00"}}));
    App first(scratch.ExePath(), scratch.WorkDir());
    const HWND dialog = first.WaitForMainDialog();
    first.Settle(dialog);
    MoveForegroundToDesktop();

    App second(scratch.ExePath(), scratch.WorkDir());
    CHECK(second.WaitForExit());
    CHECK(first.IsRunning());
    first.Settle(dialog);
    const auto dialogs = MainDialogsOnScreen();
    CHECK_EQ(dialogs.size(), size_t{1});
    CHECK(dialogs.size() == 1 && dialogs[0] == dialog);
    CHECK(first.MessageBoxes().empty());
    CHECK(Eventually([dialog] { return GetForegroundWindow() == dialog; }));
}

E2E_CASE("instance.copies_with_their_own_files_run_side_by_side") {
    Scratch scratchA("a"), scratchB("b");
    scratchA.WriteProjectFile(ProjectFileBytes({{"Alpha", "000:00:00"}}));
    scratchB.WriteProjectFile(ProjectFileBytes({{"Beta", "000:00:00"}}));
    App a(scratchA.ExePath(), scratchA.WorkDir());
    const HWND dialogA = a.WaitForMainDialog();
    App b(scratchB.ExePath(), scratchB.WorkDir());
    const HWND dialogB = b.WaitForMainDialog();
    b.Settle(dialogB);

    CHECK(a.IsRunning());
    CHECK(b.IsRunning());
    CHECK_EQ(MainDialogsOnScreen().size(), size_t{2});
    CHECK_EQ(ComboItems(Control(dialogA, IDC_PROJECT_COMBO)), std::vector<std::string>{"Alpha"});
    CHECK_EQ(ComboItems(Control(dialogB, IDC_PROJECT_COMBO)), std::vector<std::string>{"Beta"});
}
