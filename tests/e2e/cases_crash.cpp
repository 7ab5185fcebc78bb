// Killing the program while it saves. During a stop, a create or a delete, the process is ended
// at once (TerminateProcess, as a crash ends it) a random time after the command was given, so
// that some kills land before the save, some during it and some after; and during the start
// that rolls back a change cut short (a journal and a half-changed file, as a crash leaves
// them), a random time after the program was started. Each time, once the program has started
// again, the project file must hold exactly its old or its new content (after a rollback: its
// old one), and its folder nothing but Quillet.exe, the project file and its lock: no journal.
// The test suite kills 10 times; scripts/crash-test.sh <n> runs the same case with --kills <n>.
// Each run prints its seed; --seed <n> gives the same operations and delays again.
#include "scene.h"

#include "ProjectFileJournal.h"

#include <algorithm>
#include <random>

using namespace e2e;

namespace {

const int kSuiteKills = 10;
// The kills land from the moment the command is posted to this long after it: just past the
// time the program under Wine takes to carry out the command and finish its save.
const DWORD kMaxDelayMs = 8;
// The rollback's kills land from the program's creation to this long after it: past the time
// the program under Wine takes to start and roll back.
const DWORD kMaxStartDelayMs = 120;

const int kOperations = 4;
const char* const kOperationNames[] = {"stop", "create", "delete", "rollback"};
const char* const kResultNames[] = {"old content", "new content", "BROKEN"};

using Contents = std::vector<std::string>;

// Stops a count on the project: the file may then hold the total with the seconds shown right
// before the click, or with one or two more that were counted before the stop was taken.
Contents GiveStop(const App& app, HWND main, const Records& records, int index) {
    Pick(main, index);
    const long loaded = ParseTimeLine(records[index].second);
    StartCount(app, main);
    const long shown = ShownSeconds(main);
    ClickButton(main, IDC_STOP);
    return {WithTotal(records, index, loaded + shown),
            WithTotal(records, index, loaded + shown + 1),
            WithTotal(records, index, loaded + shown + 2)};
}

Contents GiveDelete(const App& app, HWND main, Records records, int index) {
    const HWND dialog = OpenDeleteDialog(app, main);
    ChooseComboItem(dialog, IDC_DELETE_COMBO, index);
    SettleAfterInput(app, dialog);
    REQUIRE(WindowText(Control(dialog, IDC_DELETE_COMBO)) == records[index].first);
    ClickButton(dialog, IDC_DELETE_PROJECT);
    records.erase(records.begin() + index);
    return {ProjectFileBytes(records)};
}

// What a delete of record `index` leaves when the program dies between writing the new bytes
// and setting the length: the journal, and the new content followed by the old bytes past it.
void LeaveCutShortDelete(const Scratch& scratch, Records records, int index) {
    const std::string original = ProjectFileBytes(records);
    records.erase(records.begin() + index);
    const std::string fresh = ProjectFileBytes(records);
    const size_t offset =
        std::mismatch(fresh.begin(), fresh.end(), original.begin()).first - fresh.begin();
    WriteFileBytes(MakeJournalPath(scratch.ProjectFilePath()), MakeJournal(original, offset));
    scratch.WriteProjectFile(fresh + original.substr(fresh.size()));
}

// Gives the operation to a running program (a rollback: starts it on a cut-short change) and
// kills it `delayMs` later. Returns the contents the file may then hold, the new ones first.
Contents KillDuring(const Scratch& scratch, const Records& records, const std::string& original,
                    int operation, int index, DWORD delayMs, int number) {
    if (operation == 3)
        LeaveCutShortDelete(scratch, records, index);
    App app(scratch.ExePath(), scratch.WorkDir());
    Contents allowed;
    if (operation != 3) {
        const HWND main = StartIdle(app);
        CHECK_EQ(ListFolder(scratch.AppDir()), kRunningFolder);
        if (operation == 0) {
            allowed = GiveStop(app, main, records, index);
        } else if (operation == 1) {
            const std::string name = "Crash " + std::to_string(number);
            AddProject(OpenCreateDialog(app, main), name);
            allowed = {original + "\r\n" + name + "\r\n000:00:00"};
        } else {
            allowed = GiveDelete(app, main, records, index);
        }
    }
    Sleep(delayMs);
    app.Kill();
    allowed.push_back(original);
    return allowed;
}

// One kill, then a start on what it left, which rolls back a change cut short; the folder must
// then hold nothing but the program's files. Returns 0 for the old content, 1 for a new one, 2
// for anything else; `midSave` tells whether the kill cut a change short (it left a journal).
int KillOnce(const Scratch& scratch, int operation, int index, DWORD delayMs, int number,
             bool& midSave) {
    const Records records = ThreeProjects();
    const std::string original = WriteRecords(scratch, records);
    const Contents allowed =
        KillDuring(scratch, records, original, operation, index, delayMs, number);
    midSave = FileExists(MakeJournalPath(scratch.ProjectFilePath()));
    App app(scratch.ExePath(), scratch.WorkDir());
    const HWND main = StartIdle(app);
    CHECK_EQ(ListFolder(scratch.AppDir()), kRunningFolder);
    CloseToExit(app, main);
    const std::optional<std::string> bytes = scratch.ReadProjectFile();
    const bool isAllowed =
        bytes && std::find(allowed.begin(), allowed.end(), *bytes) != allowed.end();
    e2e::RecordCheck(isAllowed, __FILE__, __LINE__,
                     "the file holds its old or its new content after kill " +
                         std::to_string(number) + " and a start\n    actual:   " + Describe(bytes) +
                         "\n    old:      " + Describe(original) +
                         "\n    new:      " + Describe(allowed.front()));
    return bytes == original ? 0 : isAllowed ? 1 : 2;
}

} // namespace

E2E_CASE("crash.killed_while_saving_leaves_the_old_or_the_new_file_and_no_other") {
    const Options& options = GetOptions();
    const int kills = options.kills > 0 ? options.kills : kSuiteKills;
    const unsigned seed = options.seed ? options.seed : GetTickCount() | 1u;
    std::printf("%d kills, seed %u (repeat with --seed %u)\n", kills, seed, seed);
    std::mt19937 random(seed);
    Scratch scratch;
    int tallies[kOperations][4] = {}; // old, new, broken, cut a change short
    for (int number = 1; number <= kills; ++number) {
        const int operation = static_cast<int>(random() % kOperations);
        const int index = static_cast<int>(random() % 3);
        const DWORD maxDelayMs = operation == 3 ? kMaxStartDelayMs : kMaxDelayMs;
        const DWORD delayMs = static_cast<DWORD>(random() % (maxDelayMs + 1));
        bool midSave = false;
        const int result = KillOnce(scratch, operation, index, delayMs, number, midSave);
        ++tallies[operation][result];
        tallies[operation][3] += midSave;
        std::printf("kill %d: %s of project %d, %lu ms after the %s: %s%s\n", number,
                    kOperationNames[operation], index, static_cast<unsigned long>(delayMs),
                    operation == 3 ? "start" : "command", kResultNames[result],
                    midSave ? ", a change cut short" : "");
        std::fflush(stdout);
    }
    for (int operation = 0; operation < kOperations; ++operation)
        std::printf("CRASH-TALLY %s: %d old, %d new, %d broken; %d cut a change short\n",
                    kOperationNames[operation], tallies[operation][0], tallies[operation][1],
                    tallies[operation][2], tallies[operation][3]);
}
