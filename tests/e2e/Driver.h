// The end-to-end driver's view of Quillet: a scratch folder with its own copy of the program and
// project file, the running process, and its windows as a user sees them. Every wait has a timeout.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// Longest wait for anything the program should do in response to a start or a command.
constexpr DWORD kWaitMs = 10000;

struct Options {
    std::string exePath;       // the Quillet.exe under test (Windows path)
    std::string scratchRoot;   // where each case makes its own folder
    bool holdForShots = false; // screenshot cases wait for the screenshot script
    int kills = 0;             // crash cases: how many times to kill the program (0: their own)
    unsigned seed = 0;         // crash cases: the seed of their random moments (0: a new one)
    std::string wineState;     // the Wine environment's state folder (Linux path), for the peer
    std::string wineScripts;   // the folder of wine-env.sh and wine-run.sh (Linux path)
    std::string reportPath;    // peer cases: where to write what they saw
};
Options& GetOptions();

// Turns "/a/b" into "Z:\a\b"; leaves Windows paths as they are.
std::string ToWindowsPath(const std::string& path);

// Paths are UTF-8 (ASCII ones as they are); the file calls take them in the wide form, with the
// "\\?\" prefix when they are too long for the plain one.
std::wstring WidePath(const std::string& path, bool allowLong = true);
// Text between the W forms and the ANSI code page the program works in (or UTF-8).
std::string Narrow(const std::wstring& text, UINT codePage = CP_ACP);
std::wstring Widen(const std::string& text, UINT codePage = CP_ACP);

std::optional<std::string> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
DWORD Attributes(const std::string& path); // INVALID_FILE_ATTRIBUTES when it does not exist
// Names of the files and folders directly in `folder`, sorted.
std::vector<std::string> ListFolder(const std::string& folder);

// Runs a Linux program ("/bin/ln -s a b") and waits for it, e.g. to make a symbolic link.
bool RunLinuxCommand(const std::string& commandLine);
// "Z:\a\b" as Linux spells it.
std::string LinuxPath(std::string path);

// A fresh folder per case: app\ holds Quillet.exe (and the project file when a case writes
// one), work\ is the working directory the program is started in. Removed when the case passes.
class Scratch {
public:
    // `tag` tells apart several folders of one case; `appFolder` (UTF-8, may hold backslashes)
    // replaces "app".
    explicit Scratch(const std::string& tag = "", const std::string& appFolder = "app");
    ~Scratch();
    // The folder that Scratch(tag) makes.
    static std::string RootPath(const std::string& tag);
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const std::string& Root() const { return m_strRoot; }
    const std::string& AppDir() const { return m_strAppDir; }
    const std::string& WorkDir() const { return m_strWorkDir; }
    std::string ExePath() const { return m_strAppDir + "\\Quillet.exe"; }
    std::string ProjectFilePath() const { return m_strAppDir + "\\Projekte.dbu"; }

    void WriteProjectFile(const std::string& bytes) const;
    std::optional<std::string> ReadProjectFile() const;

private:
    std::string m_strRoot, m_strAppDir, m_strWorkDir;
};

// Holds a file open for reading without sharing writes, as a backup or sync tool may: others
// can still read it, but opening it for writing fails (error 32) and so does replacing it.
// `shareRead` false shares nothing, as a virus scanner may for a moment: reads fail too.
class FileLock {
public:
    explicit FileLock(const std::string& path, bool shareRead = true);
    ~FileLock() { CloseHandle(m_hFile); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    HANDLE m_hFile;
};

// Builds the bytes of a project file: name line, time line, CR LF between lines, none after the
// last.
std::string ProjectFileBytes(const std::vector<std::pair<std::string, std::string>>& records);

struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::string caption;
    std::string text;
};

// One running copy of Quillet. Ended with TerminateProcess when still running at destruction.
class App {
public:
    // Starts `exePath` with `workDir` as its working directory.
    App(const std::string& exePath, const std::string& workDir);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    DWORD Pid() const { return m_pi.dwProcessId; }
    bool IsRunning() const;
    bool WaitForExit(DWORD timeoutMs = kWaitMs) const;
    // Ends the process at once, as a crash or a power cut would, and waits until it has gone.
    void Kill() const;

    // Visible top-level windows of the process.
    std::vector<HWND> Windows() const;
    // The visible main dialog "Quillet 1.0", or null.
    HWND FindMainDialog() const;
    HWND WaitForMainDialog(DWORD timeoutMs = kWaitMs) const;
    // Waits until the process's user-interface thread has handled everything posted so far.
    void Settle(HWND anyWindowOfApp) const;

private:
    PROCESS_INFORMATION m_pi{};
};

// Window queries that work across processes.
// SendMessageW with a timeout: a program that does not answer fails the case instead of hanging it.
LRESULT Ask(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Visible top-level windows of every process, and with `withChildren` their visible children.
std::vector<HWND> VisibleWindows(bool withChildren = false);
std::string ClassName(HWND hwnd);
std::wstring WideText(HWND hwnd);  // WM_GETTEXT in the W form, as the program holds it
std::string WindowText(HWND hwnd); // the same in the ANSI code page
bool IsMessageBox(HWND hwnd);
HWND Control(HWND dialog, int id); // fails the case if the control is missing
std::vector<std::string> ComboItems(HWND combo);
int ComboSelection(HWND combo);
std::vector<std::string> ListBoxItems(HWND list);
// The window's rectangle in the client coordinates of `dialog`.
RECT RectInDialog(HWND dialog, HWND hwnd);

// The name a screen reader announces for the window, read through the system's accessibility
// layer (oleacc); nullopt when it gives none.
std::optional<std::string> AccessibleName(HWND hwnd);
// Whether the accessibility layer takes names given by annotation (Wine 8's does not).
bool SystemAnnotatesNames();

// The screen's pixels in `rect` (screen coordinates), row by row, as 0x00RRGGBB.
std::vector<uint32_t> CaptureScreen(const RECT& rect);
// Where a control's text is drawn: the box of pixels, in its client area, that differ from its
// background (the colour most of it shows); empty when it shows no text.
RECT InkBox(HWND control);
// The size the text of a static in the template's font takes: one line when the static centres
// its text vertically, otherwise broken at words within the static's width as it draws it.
SIZE TemplateTextSize(HWND control, const char* face, int pointSize);

// Dialog base units of a template font, computed as the dialog manager does.
struct BaseUnits {
    int x = 0, y = 0;
};
BaseUnits DialogBaseUnits(const char* face, int pointSize);
RECT DialogUnitsToPixels(const BaseUnits& units, int x, int y, int cx, int cy);

// Commands as a user gives them; posted, so a modal loop they open does not block the driver.
void ClickButton(HWND dialog, int id);
void RequestClose(HWND hwnd);                      // WM_CLOSE, as the close box does
void PressOk(const MessageBoxInfo& box);           // WM_COMMAND IDOK
void TypeText(HWND edit, const std::string& text); // WM_CHAR per character

[[noreturn]] void FailWait(const char* what, DWORD timeoutMs);
// Handles the driver's own window messages for up to `ms` milliseconds.
void PumpMessages(DWORD ms);

// Polls `probe` until it returns true or the time is up; returns whether it did. For outcomes
// the program reaches through posted messages, which WM_NULL round trips do not wait for.
template <class Probe> bool Eventually(Probe probe, DWORD timeoutMs = kWaitMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!probe()) {
        if (GetTickCount64() >= deadline)
            return false;
        PumpMessages(20);
    }
    return true;
}

// Polls `probe` until it returns something truthy and returns that; ends the case with `what`
// on timeout.
template <class Probe> auto WaitFor(const char* what, Probe probe, DWORD timeoutMs = kWaitMs) {
    decltype(probe()) result{};
    if (!Eventually([&] { return static_cast<bool>((result = probe())); }, timeoutMs))
        FailWait(what, timeoutMs);
    return result;
}

// The real mouse, as a user moves and clicks it. Each event carries its screen position: under
// Wine a program reports pointer positions that the X server sent it a while ago (a window mapped
// or unmapped under the pointer), and an event without one would land where that old report put
// the pointer, even after SetCursorPos.
void MoveMouseTo(POINT point);
void MouseButtonAt(POINT point, bool down); // the left button pressed or released
void ClickMouseAt(POINT point);

// Makes the desktop the foreground window, so that a case can see whether the program brings
// its dialog to the front itself. (A window of the driver's own would not do: under Wine, a
// process that loses the X input focus hands the foreground to the desktop as it pumps.)
void MoveForegroundToDesktop();

// Prints `line` for the script that runs the driver and waits until the script has done its
// part and made <scratch>\<mark>.done.
void WaitForScript(const std::string& line, const std::string& mark);
// In screenshot mode, prints the window's screen rectangle under `name` and waits until the
// screenshot script has taken it; otherwise does nothing.
void OfferScreenshot(HWND hwnd, const std::string& name);
// The same for an area of the screen that is not one window, e.g. a window with its tooltip.
void OfferScreenshot(const RECT& area, const std::string& name);

} // namespace e2e
