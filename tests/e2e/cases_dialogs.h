// What the create, delete and overview cases share: opening a side dialog from the main dialog,
// answering message boxes, and giving input to a dialog's controls as a user does.
#pragma once

#include "Check.h"
#include "Driver.h"

#include <windows.h>

#include <string>
#include <vector>

#include "resource.h"

namespace e2e {
namespace dialogs {

// Three projects, the last with a total of more than 100 hours and a name outside ASCII.
inline std::string ThreeProjects() {
    return ProjectFileBytes({
        {"Zeta", "012:34:56"},
        {"alpha", "000:00:00"},
        {"B\xFCro & Verwaltung", "100:00:01"},
    });
}

// A message box holds its text in static 0xFFFF and has an OK button. The first alone is not
// enough: a dialog's unnamed labels (IDC_STATIC, -1) carry the same id.
inline bool IsMessageWindow(HWND hwnd) {
    return IsMessageBox(hwnd) && GetDlgItem(hwnd, IDOK) != nullptr;
}

inline std::vector<MessageBoxInfo> OpenMessages(const App& app) {
    std::vector<MessageBoxInfo> boxes;
    for (HWND hwnd : app.Windows())
        if (IsMessageWindow(hwnd))
            boxes.push_back({hwnd, WindowText(hwnd), WindowText(GetDlgItem(hwnd, 0xFFFF))});
    return boxes;
}

// The visible dialog of the program with this caption (message boxes are captioned "Quillet").
inline HWND FindDialog(const App& app, const std::string& caption) {
    for (HWND hwnd : app.Windows())
        if (ClassName(hwnd) == "#32770" && WindowText(hwnd) == caption)
            return hwnd;
    return nullptr;
}

inline HWND WaitForDialog(const App& app, const std::string& caption) {
    return WaitFor(("the dialog \"" + caption + "\"").c_str(),
                   [&] { return FindDialog(app, caption); });
}

inline void WaitUntilClosed(HWND hwnd) {
    WaitFor("a window to close", [hwnd] { return !IsWindow(hwnd); });
}

// Presses `button` on the main dialog and waits for the side dialog it opens.
inline HWND OpenFromMain(const App& app, HWND main, int button, const std::string& caption) {
    ClickButton(main, button);
    const HWND dialog = WaitForDialog(app, caption);
    app.Settle(dialog);
    return dialog;
}

inline HWND OpenCreateDialog(const App& app, HWND main) {
    return OpenFromMain(app, main, IDC_NEW_PROJECT, "Create new project");
}

inline void FlushPosted(HWND main);

// Lets everything posted to the program so far be handled; a message box it opened is then
// showing. Without the main dialog (not yet shown) two round trips are the best there is.
inline void SettleAfterInput(const App& app, HWND hwnd) {
    if (const HWND main = app.FindMainDialog()) {
        FlushPosted(main);
        return;
    }
    app.Settle(hwnd);
    app.Settle(hwnd);
}

// Waits for the message box and checks its caption and text; the box stays open.
inline MessageBoxInfo ExpectMessage(const App& app, const std::string& text) {
    const HWND hwnd = WaitFor("a message box", [&] {
        const auto boxes = OpenMessages(app);
        return boxes.empty() ? HWND{} : boxes.front().hwnd;
    });
    const MessageBoxInfo box{hwnd, WindowText(hwnd), WindowText(GetDlgItem(hwnd, 0xFFFF))};
    CHECK_EQ(box.caption, "Quillet");
    CHECK_EQ(box.text, text);
    return box;
}

inline void Dismiss(const MessageBoxInfo& box) {
    PressOk(box);
    WaitUntilClosed(box.hwnd);
}

inline void AnswerMessage(const App& app, const std::string& text) {
    Dismiss(ExpectMessage(app, text));
}

// Waits for a Yes/No question and checks its caption and that No is the default.
inline MessageBoxInfo WaitForQuestion(const App& app, DWORD timeoutMs = kWaitMs) {
    const HWND hwnd = WaitFor(
        "a question",
        [&] {
            for (const MessageBoxInfo& box : app.MessageBoxes())
                if (GetDlgItem(box.hwnd, IDYES) && GetDlgItem(box.hwnd, IDNO))
                    return box.hwnd;
            return HWND{};
        },
        timeoutMs);
    const MessageBoxInfo box{hwnd, WindowText(hwnd), WindowText(GetDlgItem(hwnd, 0xFFFF))};
    CHECK_EQ(box.caption, "Quillet");
    CHECK(GetDlgItem(hwnd, IDOK) == nullptr);
    const LONG noStyle = GetWindowLongW(GetDlgItem(hwnd, IDNO), GWL_STYLE);
    CHECK_EQ(noStyle & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    return box;
}

inline MessageBoxInfo ExpectQuestion(const App& app, const std::string& text) {
    const MessageBoxInfo box = WaitForQuestion(app);
    CHECK_EQ(box.text, text);
    return box;
}

// Answers a question with IDYES or IDNO and waits until it has closed.
inline void Answer(const MessageBoxInfo& box, int id) {
    PostMessageW(box.hwnd, WM_COMMAND, id, 0);
    WaitUntilClosed(box.hwnd);
}

// After input to `dialog`: no message box is open, nor on its way (it would disable the dialog).
inline void CheckNoMessage(const App& app, HWND dialog) {
    SettleAfterInput(app, dialog);
    CHECK(OpenMessages(app).empty());
    CHECK(IsWindowEnabled(dialog));
}

// Waits for the idle main dialog; with the project file missing, the message that reports it
// at start-up is answered first.
inline HWND StartIdle(const App& app, bool bFileMissing = false) {
    if (bFileMissing)
        AnswerMessage(app, "Error reading DataBaseFile");
    const HWND main = app.WaitForMainDialog();
    app.Settle(main);
    CHECK(OpenMessages(app).empty());
    return main;
}

// The usual start of a case: Quillet idle on the three projects. A case takes its parts with
// `auto& [scratch, app, main] = scene;`.
inline const Scratch& WithThreeProjects(const Scratch& scratch) {
    scratch.WriteProjectFile(ThreeProjects());
    return scratch;
}
struct IdleScene {
    IdleScene()
        : app(WithThreeProjects(scratch).ExePath(), scratch.WorkDir()), main(StartIdle(app)) {}
    Scratch scratch;
    App app;
    HWND main;
};

// The main dialog's project box as a user sees it: its items, its selection and its field.
struct ProjectBox {
    std::vector<std::string> items;
    int selection = CB_ERR;
    std::string field;
};
inline ProjectBox ReadProjectBox(HWND main) {
    const HWND combo = Control(main, IDC_PROJECT_COMBO);
    return {ComboItems(combo), ComboSelection(combo), WindowText(combo)};
}
inline void CheckProjectBoxUnselected(HWND main, const std::vector<std::string>& items) {
    const ProjectBox box = ReadProjectBox(main);
    CHECK_EQ(box.items, items);
    CHECK_EQ(box.selection, CB_ERR);
    CHECK_EQ(box.field, "");
}

// Picks item `index` of a combo box the way the list does when the user chooses it: the
// selection changes and the owner hears CBN_SELCHANGE.
inline void ChooseComboItem(HWND dialog, int comboId, int index) {
    const HWND combo = Control(dialog, comboId);
    Ask(combo, CB_SETCURSEL, index, 0);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

// The edit field inside a drop-down combo box.
inline HWND ComboField(HWND combo) {
    const HWND field = FindWindowExW(combo, nullptr, L"Edit", nullptr);
    if (!field)
        throw CaseAborted("the combo box has no edit field");
    return field;
}

// Returns once the program has handled everything posted to it so far. WM_NULL round trips are
// not enough: a sent message that arrives while the program is still answering an earlier one
// is answered before the posted input. A message posted behind the input is taken after it, so
// this posts a change of the project field's length limit, which nothing else uses, and waits
// until it shows.
inline void FlushPosted(HWND main) {
    static WPARAM s_nMark = 0x10000000;
    const WPARAM mark = ++s_nMark;
    const HWND field = ComboField(Control(main, IDC_PROJECT_COMBO));
    PostMessageW(field, EM_SETLIMITTEXT, mark, 0);
    WaitFor("the program to take its posted input",
            [&] { return static_cast<WPARAM>(Ask(field, EM_GETLIMITTEXT, 0, 0)) == mark; });
}

// A mouse click into a control, which gives it the focus.
inline void ClickInto(HWND control) {
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

// A key pressed and released while `control` has the focus.
inline void PressKey(HWND control, UINT vk) {
    const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    PostMessageW(control, WM_KEYDOWN, vk, 1 | (scan << 16));
    PostMessageW(control, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
}

// The window with the keyboard focus in the program's user-interface thread.
inline HWND FocusOf(HWND anyWindowOfApp) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(anyWindowOfApp, nullptr), &info);
    return info.hwndFocus;
}

// Puts `text` on the clipboard and pastes it into `edit`, as Ctrl+V does.
inline void PasteText(HWND edit, const std::wstring& text) {
    const HWND owner = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    const bool put = OpenClipboard(owner) && EmptyClipboard() &&
                     SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    DestroyWindow(owner);
    if (!put)
        throw CaseAborted("cannot put the text on the clipboard");
    PostMessageW(edit, WM_PASTE, 0, 0);
}

// Replaces the whole text of an edit field, as selecting all and typing does.
inline void SetFieldText(const App& app, HWND edit, const std::string& text) {
    PostMessageW(edit, EM_SETSEL, 0, -1);
    PostMessageW(edit, WM_CLEAR, 0, 0);
    TypeText(edit, text);
    app.Settle(edit);
    WaitFor("the typed text", [&] { return WindowText(edit) == text; });
}

// The text of a window as the W message gives it, untouched by the driver's code page.
inline std::wstring WideText(HWND hwnd) {
    std::wstring text(Ask(hwnd, WM_GETTEXTLENGTH, 0, 0) + 1, L'\0');
    text.resize(Ask(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0])));
    return text;
}

} // namespace dialogs
} // namespace e2e
