// The program's windows as seen from the driver's process: finding them, reading them and
// giving them commands. Text crosses processes only through the W messages (the A forms come
// back garbled under Wine) and is converted to the ANSI code page the program works in.
#include "Driver.h"

#include "Check.h"

#include <cstdio>

namespace e2e {
namespace {

std::string ToAnsi(const std::wstring& wide) {
    if (wide.empty())
        return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string text(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0], size,
                        nullptr, nullptr);
    return text;
}

std::wstring ToWide(const std::string& text) {
    if (text.empty())
        return {};
    const int size =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    return wide;
}

} // namespace

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

struct EnumState {
    DWORD pid;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
    auto* state = reinterpret_cast<EnumState*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == state->pid && IsWindowVisible(hwnd))
        state->windows.push_back(hwnd);
    return TRUE;
}

std::vector<std::string> ReadItems(HWND hwnd, UINT countMsg, UINT lengthMsg, UINT textMsg) {
    std::vector<std::string> items;
    const LRESULT count = Ask(hwnd, countMsg, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = Ask(hwnd, lengthMsg, i, 0);
        std::wstring text(length < 0 ? 0 : length + 1, L'\0');
        if (length > 0) {
            const LRESULT got = Ask(hwnd, textMsg, i, reinterpret_cast<LPARAM>(&text[0]));
            text.resize(got < 0 ? 0 : got);
        } else {
            text.clear();
        }
        items.push_back(ToAnsi(text));
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

std::vector<HWND> App::Windows() const {
    EnumState state{m_dwPid, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&state));
    return state.windows;
}

HWND App::FindMainDialog() const {
    for (HWND hwnd : Windows())
        if (ClassName(hwnd) == "#32770" && !IsMessageBox(hwnd) && WindowText(hwnd) == "Quillet 1.0")
            return hwnd;
    return nullptr;
}

std::vector<MessageBoxInfo> App::MessageBoxes() const {
    std::vector<MessageBoxInfo> boxes;
    for (HWND hwnd : Windows())
        if (IsMessageBox(hwnd))
            boxes.push_back({hwnd, WindowText(hwnd), WindowText(GetDlgItem(hwnd, 0xFFFF))});
    return boxes;
}

HWND App::WaitForMainDialog(DWORD timeoutMs) const {
    return WaitFor(
        "the main dialog \"Quillet 1.0\"", [this] { return FindMainDialog(); }, timeoutMs);
}

MessageBoxInfo App::WaitForMessageBox(DWORD timeoutMs) const {
    const HWND box = WaitFor(
        "a message box",
        [this] {
            const auto boxes = MessageBoxes();
            return boxes.empty() ? HWND{} : boxes.front().hwnd;
        },
        timeoutMs);
    return {box, WindowText(box), WindowText(GetDlgItem(box, 0xFFFF))};
}

void App::Settle(HWND anyWindowOfApp) const {
    Ask(anyWindowOfApp, WM_NULL, 0, 0);
}

std::string ClassName(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return ToAnsi(name);
}

std::string WindowText(HWND hwnd) {
    const LRESULT length = Ask(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(length + 1, L'\0');
    const LRESULT got = Ask(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got < 0 ? 0 : got);
    return ToAnsi(text);
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

// As the dialog manager does for a template with DS_SETFONT: the font at the point size on the
// screen, y from its tmHeight, x from the average width of the 52 letters, rounded.
BaseUnits DialogBaseUnits(const char* face, int pointSize) {
    HDC dc = GetDC(nullptr);
    const int pixels = MulDiv(pointSize, GetDeviceCaps(dc, LOGPIXELSY), 72);
    HFONT font = CreateFontA(-pixels, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                             0, PROOF_QUALITY, FF_DONTCARE, face);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SIZE size{};
    const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    GetTextExtentPoint32A(dc, letters, 52, &size);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return {(size.cx / 26 + 1) / 2, metrics.tmHeight};
}

RECT DialogUnitsToPixels(const BaseUnits& units, int x, int y, int cx, int cy) {
    const int left = MulDiv(x, units.x, 4);
    const int top = MulDiv(y, units.y, 8);
    return {left, top, left + MulDiv(cx, units.x, 4), top + MulDiv(cy, units.y, 8)};
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
    for (wchar_t c : ToWide(text))
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

void OfferScreenshot(const RECT& area, const std::string& name) {
    if (!GetOptions().holdForShots)
        return;
    Sleep(700);
    std::printf("SCREENSHOT %s %ld %ld %ld %ld\n", name.c_str(), area.left, area.top,
                area.right - area.left, area.bottom - area.top);
    std::fflush(stdout);
    const std::string done = GetOptions().scratchRoot + "\\" + name + ".done";
    WaitFor(("the screenshot " + name).c_str(), [&] { return FileExists(done); }, 60000);
    DeleteFileA(done.c_str());
}

} // namespace e2e
