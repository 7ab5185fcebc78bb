// Where the program and its file may live, and what a save leaves of the file: a folder outside
// the ANSI code page or past MAX_PATH, a user's own "Projekte.tmp", the file's attributes, a
// file reached through a symbolic link or with a hard-link partner, a read-only file and one too
// large to read.
#include "scene.h"

#include <cstring>

using namespace e2e;

namespace {

ULONGLONG FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data);
    return (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

// The exe's own path is 259 characters, the most a program can be started from; the project
// file's path beside it is one longer, and the save's temporary file longer still.
std::string FolderPast260() {
    // root \ a... \ b... \Quillet.exe
    const size_t room = 259 - Scratch::RootPath("").size() - 2 - std::strlen("\\Quillet.exe");
    return std::string(room / 2, 'a') + "\\" + std::string(room - room / 2, 'b');
}

// Quillet in `appFolder` (whose exe path, when given, is `exeLength` long) counts on the picked
// project, meets the close guard's message, and stops: the run must land in the file.
void CountsAndSaves(const std::string& appFolder, size_t exeLength) {
    auto [scratch, records, original, app, main] = Scene({ThreeProjects(), 0, appFolder});
    if (exeLength) {
        REQUIRE(scratch.ExePath().size() == exeLength);
        REQUIRE(scratch.ProjectFilePath().size() == exeLength + 1);
    }
    StartCount(app, main);
    RequestClose(main);
    AnswerMessage(app, kStopFirst);
    CHECK_SAVED_RUN(scratch, records, 0, kZetaSeconds, StopRunningCount(main));
    CHECK(OpenMessages(app).empty());
}

} // namespace

// "Łukasz" and "時間記録": neither is in the ANSI code page (1252 in the test prefix).
E2E_ROW("files.a_folder_outside_the_ansi_code_page_counts_and_saves", CountsAndSaves,
        "\xC5\x81ukasz\\\xE6\x99\x82\xE9\x96\x93\xE8\xA8\x98\xE9\x8C\xB2", 0);
E2E_ROW("files.a_project_file_path_past_260_characters_counts_and_saves", CountsAndSaves,
        FolderPast260(), 259);

// A create changes the file in place: the user's "Projekte.tmp" stays, the file keeps its hidden
// and system marks, and no journal is left.
E2E_CASE("files.a_save_keeps_the_users_tmp_file_and_the_files_attributes") {
    Scratch scratch;
    const DWORD marks = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    const std::string original = WriteRecords(scratch, ThreeProjects(), "", marks);
    const std::string notes = scratch.AppDir() + "\\Projekte.tmp";
    WriteFileBytes(notes, "my own notes");
    App app(scratch.ExePath(), scratch.WorkDir());
    CreateProject(app, StartIdle(app), "Gamma");

    CHECK_FILE(scratch, original + "\r\nGamma\r\n000:00:00");
    CHECK_EQ(Attributes(scratch.ProjectFilePath()) & marks, marks);
    CHECK_EQ(ReadFileBytes(notes), std::optional<std::string>("my own notes"));
    CHECK_EQ(ListFolder(scratch.AppDir()),
             (std::vector<std::string>{"Projekte.dbu", "Projekte.tmp", "Quillet.exe",
                                       "~Projekte.lock"}));
}

// Projekte.dbu links to a folder of its own (as package managers keep a portable program's data)
// whose file has a hard-link partner: create and delete change that file, so both hold each change.
E2E_CASE("files.create_and_delete_follow_a_symbolic_link_and_a_hard_link") {
    Scratch scratch;
    const std::string persist = scratch.Root() + "\\persist";
    const std::string target = persist + "\\Projekte.dbu", partner = persist + "\\partner.dbu";
    REQUIRE(CreateDirectoryW(WidePath(persist).c_str(), nullptr));
    const std::string original = ThreeProjectsFile();
    WriteFileBytes(target, original);
    REQUIRE(RunLinuxCommand("/bin/ln " + LinuxPath(target) + " " + LinuxPath(partner)));
    REQUIRE(RunLinuxCommand("/bin/ln -s " + LinuxPath(target) + " " +
                            LinuxPath(scratch.ProjectFilePath())));
    REQUIRE(Eventually([&] { return FileExists(partner) && scratch.ReadProjectFile(); }));
    App app(scratch.ExePath(), scratch.WorkDir());
    const HWND main = StartIdle(app);

    CreateProject(app, main, "Gamma");
    const std::optional<std::string> created(original + "\r\nGamma\r\n000:00:00");
    CHECK_EQ(ReadFileBytes(target), created);
    CHECK_EQ(ReadFileBytes(partner), created);

    ClickButton(OpenDeleteDialog(app, main), IDC_DELETE_PROJECT);
    AnswerMessage(app, "Deleted");
    const std::optional<std::string> deleted(created->substr(created->find("alpha")));
    CHECK_EQ(ReadFileBytes(target), deleted);
    CHECK_EQ(ReadFileBytes(partner), deleted);
    CHECK_EQ(scratch.ReadProjectFile(), deleted);
    CHECK_EQ(ListFolder(scratch.AppDir()), kRunningFolder);
}

// Wine run as root would replace a read-only file; the program checks the mark itself.
E2E_CASE("files.a_read_only_file_is_not_replaced") {
    Setup setup;
    setup.attributes = FILE_ATTRIBUTE_READONLY;
    auto [scratch, records, original, app, main] = Scene(setup);

    const HWND dialog = OpenCreateDialog(app, main);
    AddProject(dialog, "Gamma");
    AnswerMessage(app, "Error writing DataBaseFile");
    CHECK(IsWindow(dialog));
    CHECK_FILE(scratch, original);
    CHECK(Attributes(scratch.ProjectFilePath()) & FILE_ATTRIBUTE_READONLY);
    CHECK_EQ(ListFolder(scratch.AppDir()), kRunningFolder);
    SetFileAttributesW(WidePath(scratch.ProjectFilePath()).c_str(), FILE_ATTRIBUTE_NORMAL);
}

// 4 GiB (sparse where the disk allows): the low 32 bits of its size are zero, and it once passed
// for an empty file.
E2E_CASE("files.a_file_too_large_to_read_is_reported_and_left_alone") {
    Scratch scratch;
    scratch.WriteProjectFile(ProjectFileBytes({{"Alpha", "001:02:03"}}));
    const ULONGLONG size = ULONGLONG{1} << 32;
    REQUIRE(RunLinuxCommand("/usr/bin/truncate -s 4G " + LinuxPath(scratch.ProjectFilePath())));
    REQUIRE(Eventually([&] { return FileSize(scratch.ProjectFilePath()) == size; }));
    App app(scratch.ExePath(), scratch.WorkDir());
    const HWND main = StartIdle(app, true);
    CHECK(ComboItems(Control(main, IDC_PROJECT_COMBO)).empty());

    AddProject(OpenCreateDialog(app, main), "Gamma");
    AnswerMessage(app, "Error reading DataBaseFile");
    CHECK_EQ(FileSize(scratch.ProjectFilePath()), size);
    CHECK_EQ(ListFolder(scratch.AppDir()), kRunningFolder);
}
