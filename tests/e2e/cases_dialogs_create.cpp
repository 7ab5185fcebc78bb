// Creating a project: the name field keeps a name to 30 characters while it is typed or pasted,
// "add" appends the project with a zero total, and the main dialog's project box then shows the
// new list with nothing chosen. Every case checks the project file's bytes after each step.
#include "scene.h"

using namespace e2e;

namespace {

const char kMaxLength[] = "Max 30 characters";
const char kEnterName[] = "Please enter a name for your project";
const std::string k30 = "abcdefghijklmnopqrstuvwxyz0123";
const std::wstring kWide30(k30.begin(), k30.end());

// The file holds the scene's projects and `name` with a zero total, and the project box lists
// them with nothing chosen.
void CheckAdded(const Scratch& scratch, Records records, HWND main, const std::string& name) {
    records.push_back({name, "000:00:00"});
    CHECK_FILE(scratch, ProjectFileBytes(records));
    CheckProjectBoxUnselected(main, NamesOf(records));
}

// A name typed and added as it is, with no message. Nothing is chosen afterwards, so a count
// cannot start yet.
void AddsName(const Records& records, const std::string& name) {
    Scene scene{Setup(records)};
    CreateProject(scene.app, scene.main, name);
    CheckAdded(scene.scratch, scene.records, scene.main, name);
    ClickButton(scene.main, IDC_START);
    AnswerMessage(scene.app, kChooseProject);
}

// After input past 30 characters: one warning, and the field keeps `kept` (the first 30
// characters, or fewer when the next would be cut in half) under it and after it.
void WarnsOnceAndKeeps(const App& app, HWND dialog, HWND field, const std::wstring& kept) {
    const MessageBoxInfo box = ExpectMessage(app, kMaxLength);
    CHECK(WideText(field) == kept);
    Dismiss(box);
    CheckNoMessage(app, dialog);
    CHECK(WideText(field) == kept);
}

// Wine gives a program the code page of the one that started it; only one started from Linux
// takes LC_ALL's. So the case runs the driver again from a Linux shell in code page 932, whose run
// starts Quillet and checks it. Returns true in that inner run.
bool InJapaneseCodePage() {
    if (GetACP() == 932)
        return true;
    if (GetEnvironmentVariableA("QUILLET_E2E_INNER", nullptr, 0) != 0)
        throw CaseAborted("LC_ALL=ja_JP.UTF-8 did not give code page 932");
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const Options& options = GetOptions();
    const std::string rcPath = options.scratchRoot + "\\" + CurrentCaseName() + ".rc";
    DeleteFileA(rcPath.c_str());
    // The shell writes the run's exit code to a file: Wine gives no waitable Linux process.
    REQUIRE(RunLinuxCommand("/bin/sh -c \"QUILLET_E2E_INNER=1 LC_ALL=ja_JP.UTF-8 wine '" +
                            std::string(self) + "' --exe '" + options.exePath + "' --scratch '" +
                            options.scratchRoot + "' --case " + CurrentCaseName() + "; echo $? >'" +
                            LinuxPath(rcPath) + "'\""));
    WaitFor(
        "the run in code page 932", [&] { return ReadFileBytes(rcPath).value_or("").size() > 1; },
        90000);
    CHECK_EQ(ReadFileBytes(rcPath), std::optional<std::string>("0\n"));
    DeleteFileA(rcPath.c_str());
    return false;
}

} // namespace

E2E_ROW("create.one_blank_is_stored_as_a_name", AddsName, ThreeProjects(), " ");
E2E_ROW("create.existing_name_is_added_again", AddsName, ThreeProjects(), ThreeProjects()[2].first);
E2E_ROW("create.thirty_characters_pass_silently_into_an_empty_file", AddsName, Records{}, k30);

E2E_CASE("create.typing_a_31st_character_keeps_30_and_warns_once") {
    auto [scratch, records, original, app, main] = Scene();
    const HWND dialog = OpenCreateDialog(app, main);
    const HWND field = Control(dialog, IDC_PROJECT_NAME);
    CHECK_EQ(WindowText(field), "");
    SetFieldText(app, field, k30);
    CheckNoMessage(app, dialog);

    // Typing goes on at the end of the cut name, so it is each new character that is refused.
    for (const char* more : {"X", "Y"}) {
        TypeText(field, more);
        WarnsOnceAndKeeps(app, dialog, field, kWide30);
    }
    CHECK_FILE(scratch, original);
    CloseSideDialog(app, main, dialog, IDC_NEW_CANCEL);
    CHECK_FILE(scratch, original);
    CheckProjectBoxUnselected(main, NamesOf(records));
}

E2E_CASE("create.pasting_50_characters_keeps_the_first_30_and_warns_once") {
    // A project chosen before: after the dialog closes the box has no choice again.
    auto [scratch, records, original, app, main] = Scene(1);
    CHECK_EQ(ReadProjectBox(main).field, "alpha");
    const HWND dialog = OpenCreateDialog(app, main);
    const HWND field = Control(dialog, IDC_PROJECT_NAME);
    PasteText(field, L"abcdefghijklmnopqrstuvwxyz0123ABCDEFGHIJKLMNOPQRST");
    WarnsOnceAndKeeps(app, dialog, field, kWide30);
    CHECK_FILE(scratch, original);
    CloseSideDialog(app, main, dialog, IDC_ADD);
    CheckAdded(scratch, records, main, k30);
}

E2E_ROW("create.add_with_an_empty_field_asks_for_a_name", RefusesName, L"", kEnterName);

E2E_CASE("create.missing_file_keeps_the_dialog_and_the_name_and_creates_nothing") {
    auto [scratch, records, original, app, main] = Scene(NoFile());
    const HWND dialog = OpenCreateDialog(app, main);
    const HWND field = Control(dialog, IDC_PROJECT_NAME);
    SetFieldText(app, field, "Gamma");
    ClickButton(dialog, IDC_ADD);
    AnswerMessage(app, "Error reading DataBaseFile");
    CheckNoMessage(app, dialog);
    CHECK(IsWindowVisible(dialog));
    CHECK_EQ(WindowText(field), "Gamma");
    CHECK(!FileExists(scratch.ProjectFilePath()));

    // Closing refills the project box, which reports the missing file once more.
    ClickButton(dialog, IDC_NEW_CANCEL);
    WaitUntilClosed(dialog);
    AnswerMessage(app, "Error reading DataBaseFile");
    CheckNoMessage(app, main);
    CheckProjectBoxUnselected(main, {});
    CHECK_EQ(ListFolder(scratch.AppDir()),
             (std::vector<std::string>{"Quillet.exe", "~Projekte.lock"}));
}

E2E_CASE("create.keyboard_alone_names_and_adds_a_project_and_escape_cancels") {
    auto [scratch, records, original, app, main] = Scene();
    HWND dialog = OpenCreateDialog(app, main);
    HWND field = Control(dialog, IDC_PROJECT_NAME);
    // The focus opens in the name field, and Tab comes back to it after the two buttons.
    CHECK_EQ(FocusOf(dialog), field);
    for (HWND next : {Control(dialog, IDC_ADD), Control(dialog, IDC_NEW_CANCEL), field}) {
        PressKey(FocusOf(dialog), VK_TAB);
        WaitFor("Tab to move the focus on", [&] { return FocusOf(dialog) == next; });
    }

    // Enter in the field is "add", with its rule for an empty name.
    PressKey(field, VK_RETURN);
    AnswerMessage(app, kEnterName);
    CHECK(IsWindow(dialog));
    CHECK_FILE(scratch, original);
    SetFieldText(app, field, "Gamma");
    PressKey(field, VK_RETURN);
    WaitUntilClosed(dialog);
    CheckNoMessage(app, main);
    CheckAdded(scratch, records, main, "Gamma");

    // Esc closes without adding.
    dialog = OpenCreateDialog(app, main);
    field = Control(dialog, IDC_PROJECT_NAME);
    SetFieldText(app, field, "Delta");
    PressKey(field, VK_ESCAPE);
    WaitUntilClosed(dialog);
    CheckNoMessage(app, main);
    CheckAdded(scratch, records, main, "Gamma");
}

// In code page 932 a kana takes two bytes. "a" and 14 kana make 29 bytes; one more kana would
// end at byte 31, so the cut drops it whole rather than keep its first byte as byte 30.
E2E_CASE("create.cut_keeps_double_byte_characters_whole") {
    if (!InJapaneseCodePage())
        return;
    auto [scratch, records, original, app, main] = Scene{Setup(Records{})};
    const HWND dialog = OpenCreateDialog(app, main);
    const HWND field = Control(dialog, IDC_PROJECT_NAME);
    const std::wstring name29 = L"a\u3042\u3044\u3046\u3048\u304A\u304B\u304D\u304F\u3051\u3053"
                                L"\u3055\u3057\u3059\u305B";
    PasteText(field, name29);
    WaitFor("the pasted name", [&] { return WideText(field) == name29; });
    CheckNoMessage(app, dialog);

    PostMessageW(field, WM_CHAR, 0x305D, 1);
    WarnsOnceAndKeeps(app, dialog, field, name29);

    CloseSideDialog(app, main, dialog, IDC_ADD);
    std::string bytes(64, '\0');
    bytes.resize(WideCharToMultiByte(932, 0, name29.c_str(), -1, &bytes[0], 64, nullptr, nullptr) -
                 1);
    REQUIRE(bytes.size() == 29);
    CheckAdded(scratch, records, main, bytes);
}
