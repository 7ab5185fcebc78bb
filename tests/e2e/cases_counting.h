// What the counting, project box, close guard and session cases share: the run counter as the
// display shows it, the project total as the file holds it, and the commands that start, pause
// and stop a count. Timing is never asserted: a case waits for the display to change and
// compares what the file holds with what the display showed.
#pragma once

#include "Check.h"
#include "Driver.h"
#include "cases_dialogs.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "resource.h"

namespace e2e {
namespace counting {

using dialogs::ChooseComboItem;
using dialogs::ComboField;
using dialogs::Dismiss;
using dialogs::ExpectMessage;
using dialogs::FocusOf;
using dialogs::OpenMessages;
using dialogs::PressKey;
using dialogs::StartIdle;

using Records = std::vector<std::pair<std::string, std::string>>;

const char kStopFirst[] = "Please stop counter first";
const char kChooseProject[] = "Please choose a project";

// Three projects: a total under 100 hours, a new one, and one of more than 100 hours with a
// name outside ASCII.
inline Records ThreeProjects() {
    return {{"Zeta", "012:34:56"},
            {"alpha", "000:00:00"},
            {"B\xFC"
             "ro & Verwaltung",
             "100:00:01"}};
}

// Seconds of "HH:MM:SS" (the run counter, two or more hour digits) or "HHH:MM:SS" (a time
// line, three or more); -1 when the text is not of that form or a field is 60 or more.
inline long ParseClock(const std::string& text, size_t minHourDigits = 2) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos || colon < minHourDigits || text.size() != colon + 6 ||
        text[colon + 3] != ':')
        return -1;
    long hours = 0;
    for (size_t i = 0; i < colon; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        hours = hours * 10 + (text[i] - '0');
    }
    const auto field = [&](size_t at) -> long {
        const char a = text[at], b = text[at + 1];
        if (a < '0' || a > '5' || b < '0' || b > '9')
            return -1;
        return (a - '0') * 10 + (b - '0');
    };
    const long minutes = field(colon + 1), seconds = field(colon + 4);
    if (minutes < 0 || seconds < 0)
        return -1;
    return hours * 3600 + minutes * 60 + seconds;
}

inline long ParseTimeLine(const std::string& text) {
    return text.size() == 9 ? ParseClock(text, 3) : -1;
}

// A total as a time line: "%03d:%02d:%02d".
inline std::string FormatTotal(long seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%03ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

// The file after a stop: the same records, with one project's time line replaced.
inline std::string WithTotal(Records records, size_t index, long seconds) {
    records.at(index).second = FormatTotal(seconds);
    return ProjectFileBytes(records);
}

inline std::string Shown(HWND main) {
    return WindowText(Control(main, IDC_TIME_DISPLAY));
}

// The picked or counted project's total under the project box, "Total: HHH:MM:SS".
inline std::string TotalShown(HWND main) {
    return WindowText(Control(main, IDC_TOTAL_DISPLAY));
}

// The line under the run counter that tells of a save that failed.
inline std::string SaveStatus(HWND main) {
    return WindowText(Control(main, IDC_SAVE_STATUS));
}

// The run counter in seconds, checked to be well formed.
inline long ShownSeconds(HWND main) {
    const std::string text = Shown(main);
    const long seconds = ParseClock(text);
    if (seconds < 0)
        throw CaseAborted("the run counter shows " + Quote(text) + ", not HH:MM:SS");
    return seconds;
}

// Waits until the run counter shows something other than `from` seconds and returns it.
inline long WaitForShownChange(HWND main, long from, DWORD timeoutMs = kWaitMs) {
    return *WaitFor(
        "the run counter to change",
        [&]() -> std::optional<long> {
            const long shown = ShownSeconds(main);
            return shown != from ? std::optional<long>(shown) : std::nullopt;
        },
        timeoutMs);
}

// Waits until the run counter has reached `seconds`; returns what it shows then.
inline long WaitForShownAtLeast(HWND main, long seconds, DWORD timeoutMs = kWaitMs) {
    return *WaitFor(
        "the run counter to reach a value",
        [&]() -> std::optional<long> {
            const long shown = ShownSeconds(main);
            return shown >= seconds ? std::optional<long>(shown) : std::nullopt;
        },
        timeoutMs);
}

inline void Flush(HWND main) {
    dialogs::FlushPosted(main);
}

// Picks a project in the project box as the user does and lets the program handle it.
inline void Pick(HWND main, int index) {
    ChooseComboItem(main, IDC_PROJECT_COMBO, index);
    Flush(main);
}

// Writes the records as the project file (and `ini` as Quillet.ini) and returns the file's bytes.
inline std::string WriteRecords(const Scratch& scratch, const Records& records,
                                const std::string& ini = "") {
    const std::string bytes = ProjectFileBytes(records);
    scratch.WriteProjectFile(bytes);
    if (!ini.empty())
        WriteFileBytes(scratch.AppDir() + "\\Quillet.ini", ini);
    return bytes;
}

// The usual start of a case: Quillet on the three projects, idle, with project `picked` picked.
// `appFolder` names the program's folder inside the scratch folder (see Scratch).
// `ini`, when given, is written as Quillet.ini beside the program before it starts.
struct CountingScene {
    explicit CountingScene(int picked, const std::string& appFolder = "app",
                           const std::string& ini = "")
        : scratch("", appFolder), records(ThreeProjects()),
          original(WriteRecords(scratch, records, ini)), app(scratch.ExePath(), scratch.WorkDir()),
          main(StartIdle(app)) {
        Pick(main, picked);
    }
    Scratch scratch;
    Records records;
    std::string original; // the file's bytes before the case changed anything
    App app;
    HWND main;
};

inline void Press(HWND main, int id) {
    ClickButton(main, id);
    Flush(main);
}

// Presses "start" on the picked project and waits for the first counted second; returns it.
inline long StartCount(const App& app, HWND main) {
    Press(main, IDC_START);
    CHECK(OpenMessages(app).empty());
    return WaitForShownChange(main, 0);
}

// Presses "pause" and returns the run counter it holds.
inline long PauseCount(HWND main) {
    Press(main, IDC_PAUSE);
    return ShownSeconds(main);
}

// The run counter stays on `seconds` for over three seconds: the count is not advancing.
inline void CheckHolds(HWND main, long seconds) {
    for (int i = 0; i < 8; ++i) {
        PumpMessages(400);
        CHECK_EQ(ShownSeconds(main), seconds);
    }
}

// Presses "stop" while the count runs; returns the run counter shown right before, as the
// stop may land one second later than that.
inline long StopRunningCount(HWND main) {
    const long before = ShownSeconds(main);
    Press(main, IDC_STOP);
    return before;
}

// Whether the file holds the records with the run's `shown` seconds, or one more, added to the
// loaded total of record `index`; `what` describes the difference for the report.
inline bool HoldsSavedRun(const Scratch& scratch, const Records& records, size_t index, long loaded,
                          long shown, std::string& what) {
    const auto bytes = scratch.ReadProjectFile();
    const std::string expected = WithTotal(records, index, loaded + shown);
    what = "the project file holds record " + std::to_string(index) + "'s total plus " +
           std::to_string(shown) + " s (or 1 s more)\n    actual:   " + Describe(bytes) +
           "\n    expected: " + Describe(expected);
    return bytes == expected || bytes == WithTotal(records, index, loaded + shown + 1);
}

} // namespace counting
} // namespace e2e

// The file holds the run that was showing `shown` seconds right before it was stopped.
#define CHECK_SAVED_RUN(scratch, records, index, loaded, shown)                                    \
    do {                                                                                           \
        std::string e2e_what_;                                                                     \
        const bool e2e_ok_ =                                                                       \
            e2e::counting::HoldsSavedRun(scratch, records, index, loaded, shown, e2e_what_);       \
        e2e::RecordCheck(e2e_ok_, __FILE__, __LINE__, e2e_what_);                                  \
    } while (0)
