// Start-up: the project file beside the program fills the project box, a missing file is
// reported once before the main dialog opens, and closing the idle dialog ends the program
// without touching the file. Every scratch folder also holds a decoy project file in the
// working directory, which the program must not read. Last, the start from an unpacked release
// zip.
#include "scene.h"

using namespace e2e;

namespace {

// The window is the main dialog, with no message box after it, idle, with these projects listed
// and none selected.
HWND CheckIdleDialog(const App& app, HWND dialog, const std::vector<std::string>& expectedItems) {
    REQUIRE(!IsMessageBox(dialog));
    app.Settle(dialog);
    CHECK(OpenMessages(app).empty());
    CHECK_EQ(WindowText(dialog), "Quillet 1.0");
    CheckProjectBoxUnselected(dialog, expectedItems);
    CHECK_EQ(Shown(dialog), "00:00:00");
    return dialog;
}

// Quillet opens on a project file of these records without a message, its first window the
// main dialog, and closing leaves the file as it was.
void OpensWithoutMessage(const Records& records) {
    Scratch scratch;
    const std::string original = WriteRecords(scratch, records);
    App app(scratch.ExePath(), scratch.WorkDir());
    CloseToExit(app, CheckIdleDialog(app, WaitForFirstWindow(app), NamesOf(records)));
    CHECK_FILE(scratch, original);
}

} // namespace

E2E_CASE("startup.missing_file_is_reported_before_the_dialog") {
    Scratch scratch;
    App app(scratch.ExePath(), scratch.WorkDir());

    const HWND first = WaitForFirstWindow(app);
    REQUIRE(IsMessageBox(first));
    const auto boxes = OpenMessages(app);
    REQUIRE(boxes.size() == 1);
    CHECK_EQ(boxes[0].caption, "Quillet");
    CHECK_EQ(boxes[0].text, "Error reading DataBaseFile");
    CHECK(app.FindMainDialog() == nullptr);

    PressOk(boxes[0]);
    // After OK the dialog opens, and no second message comes first.
    const HWND next = WaitFor("the message box to go and a window to follow", [&] {
        for (const auto& box : OpenMessages(app))
            if (box.hwnd != boxes[0].hwnd)
                return box.hwnd;
        return app.FindMainDialog();
    });
    CloseToExit(app, CheckIdleDialog(app, next, {}));
    CHECK(!FileExists(scratch.ProjectFilePath()));
    CHECK_EQ(ListFolder(scratch.AppDir()), std::vector<std::string>{"Quillet.exe"});
}

E2E_ROW("startup.empty_file_opens_without_message", OpensWithoutMessage, Records{});
E2E_ROW("startup.projects_listed_in_file_order_without_selection", OpensWithoutMessage,
        ThreeProjects());

E2E_CASE("close.idle_close_ends_program_and_writes_nothing") {
    auto [scratch, records, original, app, dialog] = Scene();
    CloseToExit(app, dialog);
    CHECK_FILE(scratch, original);
    CHECK_EQ(ListFolder(scratch.AppDir()),
             (std::vector<std::string>{"Projekte.dbu", "Quillet.exe"}));
}

// An unzipped release: the program starts beside the zip's empty project file without a message.
// scripts/check-package.sh runs it with --exe in that folder; ctest leaves release.* cases out.
E2E_CASE("release.unpacked_zip_opens_without_message") {
    const std::string exe = GetOptions().exePath;
    const std::string folder = exe.substr(0, exe.find_last_of('\\'));
    Scratch scratch; // only its working directory, with the decoy project file
    App app(exe, scratch.WorkDir());

    CloseToExit(app, CheckIdleDialog(app, WaitForFirstWindow(app), {}));
    CHECK_EQ(ReadFileBytes(folder + "\\Projekte.dbu"), std::optional<std::string>(""));
    CHECK_EQ(ListFolder(folder), (std::vector<std::string>{"LICENSE.txt", "Projekte.dbu",
                                                           "Quillet.exe", "README.txt"}));
}
