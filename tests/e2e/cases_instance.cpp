// One copy per project file: a second start beside a running copy hands over to it and ends,
// while a copy with its own project file in another folder runs alongside; a copy on another
// computer sharing the folder (a second Wine prefix) is told who holds the file and ends.
#include "scene.h"

#include <cstdio>
#include <map>

using namespace e2e;

namespace {

// Every visible main dialog on the desktop, of any process.
std::vector<HWND> MainDialogsOnScreen() {
    std::vector<HWND> found;
    for (HWND hwnd : VisibleWindowsOfClass("#32770"))
        if (!IsMessageBox(hwnd) && WindowText(hwnd) == "Quillet 1.0")
            found.push_back(hwnd);
    return found;
}

// A symbolic link to the scratch folder's program folder, as a second path to its project file.
struct LinkedFolder {
    explicit LinkedFolder(const Scratch& scratch) : link(scratch.Root() + "\\linked") {
        REQUIRE(
            RunLinuxCommand("/bin/ln -s " + LinuxPath(scratch.AppDir()) + " " + LinuxPath(link)));
        REQUIRE(Eventually([&] { return FileExists(link + "\\Quillet.exe"); }));
    }
    ~LinkedFolder() { RunLinuxCommand("/bin/rm " + LinuxPath(link)); }
    const std::string link;
};

// A second copy, started from the scratch folder or through a linked folder, hands over to the
// first and ends, touching nothing. With `fileLater` the first starts before the file exists.
void SecondCopyHandsOver(bool throughLink, bool fileLater) {
    Scratch scratch;
    std::optional<LinkedFolder> linked;
    if (throughLink)
        linked.emplace(scratch);
    const std::string original = ProjectFileBytes({{"Alpha", "000:00:00"}});
    if (!fileLater)
        scratch.WriteProjectFile(original);
    App first(scratch.ExePath(), scratch.WorkDir());
    const HWND dialog = StartIdle(first, fileLater);
    if (fileLater)
        scratch.WriteProjectFile(original);
    MoveForegroundToDesktop();

    App second(linked ? linked->link + "\\Quillet.exe" : scratch.ExePath(), scratch.WorkDir());
    CHECK(second.WaitForExit());
    CHECK(first.IsRunning());
    first.Settle(dialog);
    CHECK(MainDialogsOnScreen() == std::vector<HWND>{dialog});
    CHECK(OpenMessages(first).empty());
    CHECK(Eventually([dialog] { return GetForegroundWindow() == dialog; }));
    CHECK_FILE(scratch, original);
}

// A report's values stay on one line.
std::string Escape(const std::string& text) {
    std::string escaped;
    for (char c : text)
        escaped += c == '\n' ? "\\n" : c == '\r' ? "\\r" : std::string(1, c);
    return escaped;
}

std::string LockFilePath(const Scratch& scratch) {
    return scratch.AppDir() + "\\~Projekte.lock";
}

using Report = std::map<std::string, std::string>;

Report ReadReport(const std::string& path) {
    Report values;
    const std::string text = ReadFileBytes(path).value_or("");
    for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
        const size_t equals = text.find('=', at);
        if (equals < end)
            values[text.substr(at, equals - at)] = text.substr(equals + 1, end - equals - 1);
    }
    return values;
}

// Starts the scratch folder's Quillet.exe through the driver's peer case on the other computer
// (the peer Wine prefix of wine-env.sh) and returns its report, to which the Linux shell, which
// cannot be waited for from here, adds the driver's exit code last.
Report StartOnAnotherComputer(const Scratch& scratch, const std::string& tag) {
    const Options& options = GetOptions();
    const auto quoted = [](const std::string& text) { return "'" + text + "'"; };
    REQUIRE(!options.wineState.empty() && !options.wineScripts.empty());
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::string driver = Narrow(path, CP_UTF8);
    const std::string files = scratch.Root() + "\\peer-" + tag;
    const std::string report = files + ".txt", log = quoted(LinuxPath(files + ".log"));
    WriteFileBytes(files + ".sh",
                   "bash " + quoted(options.wineScripts + "/wine-env.sh") + " peer " +
                       quoted(options.wineState) + " >" + log + " 2>&1 && bash " +
                       quoted(options.wineScripts + "/wine-run.sh") + " " +
                       quoted(options.wineState + "/peer") + " " + quoted(LinuxPath(driver)) +
                       " --exe " + quoted(scratch.ExePath()) + " --scratch " +
                       quoted(scratch.Root()) + " --case peer.start_quillet_and_report --report " +
                       quoted(report) + " >>" + log + " 2>&1\necho \"driver-exit=$?\" >>" +
                       quoted(LinuxPath(report)) + "\n");
    REQUIRE(RunLinuxCommand("/bin/bash " + LinuxPath(files + ".sh")));
    const bool ended =
        Eventually([&] { return ReadReport(report).count("driver-exit") > 0; }, 60000);
    Report values = ReadReport(report);
    if (!ended || values["driver-exit"] != "0")
        std::printf("the other computer's log:\n%s\n",
                    ReadFileBytes(files + ".log").value_or("").c_str());
    REQUIRE(ended);
    CHECK_EQ(values["driver-exit"], "0");
    return values;
}

// The name GetComputerNameA or GetUserNameA gives.
std::string NameFrom(BOOL(WINAPI* get)(LPSTR, LPDWORD)) {
    char name[257];
    DWORD length = sizeof name;
    return get(name, &length) ? name : "";
}

// What the other computer's copy says of the one here, whose note (its start in UTC) is given.
std::string InUseMessage(const std::string& note) {
    const size_t at = note.find("since=");
    SYSTEMTIME utc{}, local{}, now{};
    REQUIRE(at != std::string::npos && note.size() >= at + 26 &&
            std::sscanf(note.c_str() + at, "since=%4hu%*c%2hu%*c%2hu%*c%2hu%*c%2hu", &utc.wYear,
                        &utc.wMonth, &utc.wDay, &utc.wHour, &utc.wMinute) == 5);
    REQUIRE(SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local));
    GetLocalTime(&now);
    // "YYYY-MM-DD HH:MM", or "HH:MM" today.
    char since[32];
    std::snprintf(since, sizeof since, "%04u-%02u-%02u %02u:%02u", local.wYear, local.wMonth,
                  local.wDay, local.wHour, local.wMinute);
    const bool today =
        now.wYear == local.wYear && now.wMonth == local.wMonth && now.wDay == local.wDay;
    return "Projekte.dbu is in use by Quillet on computer " + NameFrom(GetComputerNameA) +
           " (user " + NameFrom(GetUserNameA) + ") since " + (today ? since + 11 : since) +
           ".\nClose Quillet there before starting it here.";
}

} // namespace

E2E_ROW("instance.second_copy_hands_over_and_exits", SecondCopyHandsOver, false, false);
// A symbolic link to the program's folder is a second path to the same project file; the
// second copy started through it must meet the first copy's lock all the same.
E2E_ROW("instance.second_copy_through_a_linked_folder_hands_over_and_exits", SecondCopyHandsOver,
        true, false);
// The first copy found no file to take the identity of; the one it made meanwhile is the same.
E2E_ROW("instance.second_copy_hands_over_to_one_started_before_the_file_existed",
        SecondCopyHandsOver, true, true);

E2E_CASE("instance.copies_with_their_own_files_run_side_by_side") {
    Scene a{Setup(Records{{"Alpha", "000:00:00"}})};
    Scratch scratchB("b");
    WriteRecords(scratchB, {{"Beta", "000:00:00"}});
    App b(scratchB.ExePath(), scratchB.WorkDir());
    const HWND dialogB = StartIdle(b);

    CHECK(a.app.IsRunning());
    CHECK(b.IsRunning());
    CHECK_EQ(MainDialogsOnScreen().size(), size_t{2});
    CHECK_EQ(ReadProjectBox(a.main).items, std::vector<std::string>{"Alpha"});
    CHECK_EQ(ReadProjectBox(dialogB).items, std::vector<std::string>{"Beta"});
}

// A copy in another Windows session (another user's, under fast user switching) holds the lock
// in the machine-wide namespace but has no session mark in this one; Wine has one session, so
// the driver holds such a lock itself, named as the program names its folder's lock.
E2E_CASE("instance.a_copy_in_another_session_is_reported_and_the_second_ends") {
    Scratch scratch;
    const std::string original = WriteRecords(scratch, {{"Alpha", "000:00:00"}});
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
    AnswerMessage(app, "Quillet is already running on this project file in another "
                       "Windows session.\nClose it there before starting it here.");
    CHECK(app.WaitForExit());
    CHECK(MainDialogsOnScreen().empty());
    CHECK_FILE(scratch, original);
    CloseHandle(lock);
}

// The copy here notes its computer, user and start in the hidden lock file; the other computer's
// copy (another user) names them and ends, touching not the file, a save's leftover or the lock.
E2E_CASE("instance.a_copy_on_another_computer_is_told_who_holds_the_file_and_ends") {
    auto [scratch, records, original, first, main] = Scene{Setup(Records{{"Alpha", "001:02:03"}})};
    const std::string leftover = scratch.AppDir() + "\\~Projekte.4242-1.tmp";
    WriteFileBytes(leftover, "Alpha\r\n999:00:00");
    const std::optional<std::string> note = ReadFileBytes(LockFilePath(scratch));
    REQUIRE(note.has_value());
    CHECK(Attributes(LockFilePath(scratch)) & FILE_ATTRIBUTE_HIDDEN);
    CHECK(note->find("computer=" + NameFrom(GetComputerNameA) +
                     "\r\nuser=" + NameFrom(GetUserNameA) + "\r\n") != std::string::npos);

    Report seen = StartOnAnotherComputer(scratch, "held");
    REQUIRE(NameFrom(GetUserNameA) != "quillet-peer"); // the two computers tell apart
    CHECK_EQ(seen["message"], Escape(InUseMessage(*note)));
    CHECK_EQ(seen["main-dialog"], "no");
    CHECK_EQ(seen["exited"], "yes");
    CHECK(first.IsRunning());
    CHECK_FILE(scratch, original);
    CHECK_EQ(ReadFileBytes(leftover), std::optional<std::string>("Alpha\r\n999:00:00"));
    CHECK_EQ(ReadFileBytes(LockFilePath(scratch)), note);
}

// A killed copy leaves its lock file, but its byte-range lock ends with it: the other computer's
// copy takes the file over, notes itself in it, runs, and removes it as it closes.
E2E_CASE("instance.a_killed_copys_lock_is_taken_over_on_another_computer") {
    auto [scratch, records, original, first, main] = Scene{Setup(Records{{"Alpha", "001:02:03"}})};
    first.Kill();
    REQUIRE(FileExists(LockFilePath(scratch)));

    Report seen = StartOnAnotherComputer(scratch, "free");
    CHECK_EQ(seen["message"], "");
    CHECK_EQ(seen["projects"], "Alpha");
    CHECK(seen["lock"].find("\\r\\nuser=quillet-peer\\r\\n") != std::string::npos);
    CHECK_EQ(seen["exited"], "yes");
    CHECK(!FileExists(LockFilePath(scratch)));
    CHECK_FILE(scratch, original);
}

// Where no lock file can be made (a read-only folder; here a folder has taken its name), Quillet
// runs without one rather than not at all, and leaves that name alone.
E2E_CASE("instance.a_folder_that_takes_no_lock_file_runs_quillet_unguarded") {
    Scratch scratch;
    WriteRecords(scratch, {{"Alpha", "001:02:03"}});
    REQUIRE(CreateDirectoryW(WidePath(LockFilePath(scratch)).c_str(), nullptr));
    App app(scratch.ExePath(), scratch.WorkDir());
    const HWND main = StartIdle(app);
    CHECK_EQ(ReadProjectBox(main).items, std::vector<std::string>{"Alpha"});
    CloseToExit(app, main);
    CHECK(Attributes(LockFilePath(scratch)) & FILE_ATTRIBUTE_DIRECTORY);
}

// The other computer's side of the cases above, run in the peer prefix: starts the --exe given,
// answers what it shows and writes what it saw to --report.
E2E_CASE("peer.start_quillet_and_report") {
    const Options& options = GetOptions();
    const std::string folder = options.exePath.substr(0, options.exePath.find_last_of('\\'));
    std::string report;
    {
        App app(options.exePath, folder);
        const HWND shown = WaitForFirstWindow(app);
        if (IsMessageBox(shown)) {
            report += "message=" + Escape(WindowText(GetDlgItem(shown, 0xFFFF))) + "\n";
            report += std::string("main-dialog=") + (app.FindMainDialog() ? "yes" : "no") + "\n";
            PressOk({shown, "", ""});
        } else {
            app.Settle(shown);
            std::string projects;
            for (const std::string& item : ComboItems(Control(shown, IDC_PROJECT_COMBO)))
                projects += (projects.empty() ? "" : "|") + item;
            report += "projects=" + projects + "\n";
            report +=
                "lock=" + Escape(ReadFileBytes(folder + "\\~Projekte.lock").value_or("")) + "\n";
            RequestClose(shown);
        }
        const bool exited = app.WaitForExit();
        CHECK(exited);
        report += std::string("exited=") + (exited ? "yes" : "no") + "\n";
    }
    WriteFileBytes(options.reportPath, report);
}
