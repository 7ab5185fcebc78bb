// One copy per project file: a second start beside a running copy hands over to it and ends,
// while a copy with its own project file in another folder runs alongside.
#include "cases_dialogs.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

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

// Starts a second copy from `secondExePath` beside the first, started from the scratch folder's
// own path: it must hand over to the first and end, touching nothing. With `fileLater` the
// first copy starts while the project file is still missing (and says so), and the file is put
// in place before the second starts.
void CheckSecondCopyHandsOver(const Scratch& scratch, const std::string& secondExePath,
                              bool fileLater = false) {
    const std::string original = ProjectFileBytes({{"Alpha", "000:00:00"}});
    if (!fileLater)
        scratch.WriteProjectFile(original);
    App first(scratch.ExePath(), scratch.WorkDir());
    const HWND dialog = dialogs::StartIdle(first, fileLater);
    if (fileLater)
        scratch.WriteProjectFile(original);
    MoveForegroundToDesktop();

    App second(secondExePath, scratch.WorkDir());
    CHECK(second.WaitForExit());
    CHECK(first.IsRunning());
    first.Settle(dialog);
    const auto dialogs = MainDialogsOnScreen();
    CHECK_EQ(dialogs.size(), size_t{1});
    CHECK(dialogs.size() == 1 && dialogs[0] == dialog);
    CHECK(first.MessageBoxes().empty());
    CHECK(Eventually([dialog] { return GetForegroundWindow() == dialog; }));
    CHECK_EQ(scratch.ReadProjectFile(), std::optional<std::string>(original));
}

// A symbolic link to the scratch folder's program folder, as a second path to its project file.
class LinkedFolder {
public:
    explicit LinkedFolder(const Scratch& scratch);
    ~LinkedFolder();
    std::string ExePath() const { return m_link + "\\Quillet.exe"; }

private:
    std::string m_link;
};

LinkedFolder::LinkedFolder(const Scratch& scratch) : m_link(scratch.Root() + "\\linked") {
    REQUIRE(RunLinuxCommand("/bin/ln -s " + LinuxPath(scratch.AppDir()) + " " + LinuxPath(m_link)));
    REQUIRE(Eventually([&] { return FileExists(ExePath()); }));
}

LinkedFolder::~LinkedFolder() {
    RunLinuxCommand("/bin/rm " + LinuxPath(m_link));
}

} // namespace

E2E_CASE("instance.second_copy_hands_over_and_exits") {
    Scratch scratch;
    CheckSecondCopyHandsOver(scratch, scratch.ExePath());
}

// A symbolic link to the program's folder is a second path to the same project file; the
// second copy started through it must meet the first copy's lock all the same.
E2E_CASE("instance.second_copy_through_a_linked_folder_hands_over_and_exits") {
    Scratch scratch;
    LinkedFolder linked(scratch);
    CheckSecondCopyHandsOver(scratch, linked.ExePath());
}

// The first copy found no file to take the identity of; the one it made meanwhile is the same.
E2E_CASE("instance.second_copy_hands_over_to_one_started_before_the_file_existed") {
    Scratch scratch;
    LinkedFolder linked(scratch);
    CheckSecondCopyHandsOver(scratch, linked.ExePath(), true);
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

// A copy in another Windows session (another user's, under fast user switching) holds the lock
// in the machine-wide namespace but has no session mark in this one; Wine has one session, so
// the driver holds such a lock itself, named as the program names its folder's lock.
E2E_CASE("instance.a_copy_in_another_session_is_reported_and_the_second_ends") {
    Scratch scratch;
    const std::string original = ProjectFileBytes({{"Alpha", "000:00:00"}});
    scratch.WriteProjectFile(original);
    HANDLE folder = CreateFileW(WidePath(scratch.AppDir()).c_str(), 0, 7, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    REQUIRE(GetFileInformationByHandle(folder, &info));
    CloseHandle(folder);
    char name[80];
    std::snprintf(name, sizeof name, "Global\\Quillet.d%08lx.%08lx%08lx.lock",
                  info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow);
    const HANDLE lock = CreateMutexA(nullptr, FALSE, name);
    REQUIRE(lock != nullptr && GetLastError() != ERROR_ALREADY_EXISTS);

    App app(scratch.ExePath(), scratch.WorkDir());
    dialogs::AnswerMessage(app, "Quillet is already running on this project file in another "
                                "Windows session.\nClose it there before starting it here.");
    CHECK(app.WaitForExit());
    CHECK(MainDialogsOnScreen().empty());
    CHECK_EQ(scratch.ReadProjectFile(), std::optional<std::string>(original));
    CloseHandle(lock);
}
