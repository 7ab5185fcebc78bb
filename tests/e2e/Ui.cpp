// The program's windows as seen from the driver's process: finding them, reading them and
// giving them commands. Text crosses processes only through the W messages (the A forms come
// back garbled under Wine) and is converted to the ANSI code page the program works in.
#include "Driver.h"

#include "Check.h"

#include <algorithm>
#include <cstdio>

namespace e2e {

LRESULT Ask(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SetLastError(0);
    // Wine returns 0 for some messages that were answered (WM_GETICON with no icon), so only a
    // timeout counts as no answer.
    if (!SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_NORMAL, kWaitMs, &result) &&
        GetLastError() == ERROR_TIMEOUT) {
        char what[96];
        std::snprintf(what, sizeof what, "no answer to message 0x%04X from window %p", message,
                      static_cast<void*>(hwnd));
        throw CaseAborted(what);
    }
    return static_cast<LRESULT>(result);
}

namespace {

BOOL CALLBACK CollectVisible(HWND hwnd, LPARAM windows) {
    if (IsWindowVisible(hwnd))
        reinterpret_cast<std::vector<HWND>*>(windows)->push_back(hwnd);
    return TRUE;
}

std::vector<std::string> ReadItems(HWND hwnd, UINT countMsg, UINT lengthMsg, UINT textMsg) {
    std::vector<std::string> items;
    const LRESULT count = Ask(hwnd, countMsg, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = Ask(hwnd, lengthMsg, i, 0);
        std::wstring text(length > 0 ? length + 1 : 0, L'\0');
        if (length > 0)
            text.resize(
                std::max<LRESULT>(0, Ask(hwnd, textMsg, i, reinterpret_cast<LPARAM>(&text[0]))));
        items.push_back(Narrow(text));
    }
    return items;
}

} // namespace

void FailWait(const char* what, DWORD timeoutMs) {
    throw CaseAborted("timed out after " + std::to_string(timeoutMs / 1000) + " s waiting for " +
                      what);
}

void PumpMessages(DWORD ms) {
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now),
                                  QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

void MoveForegroundToDesktop() {
    SetForegroundWindow(GetDesktopWindow());
    const HWND foreground = GetForegroundWindow();
    if (foreground && foreground != GetDesktopWindow())
        throw CaseAborted("cannot move the foreground away from window " + WindowText(foreground));
}

std::vector<HWND> VisibleWindows(bool withChildren) {
    std::vector<HWND> topLevel, all;
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&topLevel));
    if (!withChildren)
        return topLevel;
    for (HWND hwnd : topLevel) {
        all.push_back(hwnd);
        EnumChildWindows(hwnd, CollectVisible, reinterpret_cast<LPARAM>(&all));
    }
    return all;
}

std::vector<HWND> App::Windows() const {
    std::vector<HWND> windows;
    for (HWND hwnd : VisibleWindows()) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == Pid())
            windows.push_back(hwnd);
    }
    return windows;
}

HWND App::FindMainDialog() const {
    for (HWND hwnd : Windows())
        if (ClassName(hwnd) == "#32770" && !IsMessageBox(hwnd) && WindowText(hwnd) == "Quillet 1.0")
            return hwnd;
    return nullptr;
}

HWND App::WaitForMainDialog(DWORD timeoutMs) const {
    return WaitFor(
        "the main dialog \"Quillet 1.0\"", [this] { return FindMainDialog(); }, timeoutMs);
}

void App::Settle(HWND anyWindowOfApp) const {
    Ask(anyWindowOfApp, WM_NULL, 0, 0);
}

std::string ClassName(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return Narrow(name);
}

std::wstring WideText(HWND hwnd) {
    std::wstring text(Ask(hwnd, WM_GETTEXTLENGTH, 0, 0) + 1, L'\0');
    text.resize(std::max<LRESULT>(
        0, Ask(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]))));
    return text;
}

std::string WindowText(HWND hwnd) {
    return Narrow(WideText(hwnd));
}

static BOOL CALLBACK FindProgramControl(HWND child, LPARAM found) {
    const int id = GetDlgCtrlID(child);
    if (id >= 1003 && id <= 1039)
        *reinterpret_cast<bool*>(found) = true;
    return TRUE;
}

// A message box is a #32770 window with its text in static 0xFFFF. The program's own dialogs
// have unnamed labels with that id too, so a window holding any of the program's control ids
// (IDC_PROJECT_COMBO 1003 to IDC_AWAY_SPIN 1039) is not a message box. Wine's message box
// icon has id 1088, Windows' 20: both outside that range.
bool IsMessageBox(HWND hwnd) {
    const HWND text = GetDlgItem(hwnd, 0xFFFF);
    if (ClassName(hwnd) != "#32770" || !text || ClassName(text) != "Static")
        return false;
    bool hasProgramControl = false;
    EnumChildWindows(hwnd, FindProgramControl, reinterpret_cast<LPARAM>(&hasProgramControl));
    return !hasProgramControl;
}

HWND Control(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    if (!control)
        throw CaseAborted("the dialog has no control " + std::to_string(id));
    return control;
}

std::vector<std::string> ComboItems(HWND combo) {
    return ReadItems(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

int ComboSelection(HWND combo) {
    return static_cast<int>(Ask(combo, CB_GETCURSEL, 0, 0));
}

std::vector<std::string> ListBoxItems(HWND list) {
    return ReadItems(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

RECT RectInDialog(HWND dialog, HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ClickButton(HWND dialog, int id) {
    const HWND button = Control(dialog, id);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void RequestClose(HWND hwnd) {
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

void PressOk(const MessageBoxInfo& box) {
    PostMessageW(box.hwnd, WM_COMMAND, IDOK, 0);
}

void TypeText(HWND edit, const std::string& text) {
    for (wchar_t c : Widen(text))
        PostMessageW(edit, WM_CHAR, c, 1);
}

void OfferScreenshot(HWND hwnd, const std::string& name) {
    if (!GetOptions().holdForShots)
        return;
    // Drawn active, as a user sees the window they work in. Under Xvfb without a window manager
    // Wine draws the active window's caption as inactive, as no X window has the input focus.
    SetForegroundWindow(hwnd);
    Ask(hwnd, WM_NCACTIVATE, TRUE);
    // Then let the program finish painting and Wine hand the picture to the X server.
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    OfferScreenshot(rect, name);
}

void WaitForScript(const std::string& line, const std::string& mark) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    const std::string done = GetOptions().scratchRoot + "\\" + mark + ".done";
    WaitFor(("the script to answer " + line).c_str(), [&] { return FileExists(done); }, 60000);
    DeleteFileA(done.c_str());
}

void OfferScreenshot(const RECT& area, const std::string& name) {
    if (!GetOptions().holdForShots)
        return;
    Sleep(700);
    char line[160];
    std::snprintf(line, sizeof line, "SCREENSHOT %s %ld %ld %ld %ld", name.c_str(), area.left,
                  area.top, area.right - area.left, area.bottom - area.top);
    WaitForScript(line, name);
}

} // namespace e2e
