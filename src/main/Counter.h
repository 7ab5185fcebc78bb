// The counting engine: the states Stopped, Running, Paused and Held, the run counter, and the
// saving of the time counted into the project's total. Portable: the clock, the timer, the
// display and the project file are reached through the virtual hooks that the main dialog
// implements (and the unit tests fake). A window timer drives it, so it goes on under every
// modal loop (message boxes, menus, moving the window).
#pragma once

#include <cstdint>
#include <string>

#include "ProjectFile.h"

extern const char* const kMsgTotalCapped;

// A time away from the computer while a count ran, as the question about it names it when the
// absence ends: when it began (milliseconds before now) and the minutes of the run it took.
struct AwaySpan {
    std::string strProject;
    std::int64_t nBeganAgoMs = 0;
    std::int64_t nMinutes = 0;
};

enum class CountState {
    Stopped,
    Running,
    Paused,
    Held, // asked to stop, but its time is not saved yet: kept, shown and tried again
};

class CCounter {
public:
    virtual ~CCounter() = default;

    void OnStart();
    void OnPause();
    void OnStop();
    // The timer: the display, a checkpoint every few seconds, the retry of a failed save.
    void OnTick();
    // The session may end, or the computer goes to sleep: what is counted is saved and flushed
    // now, the count goes on. False when it could not be saved.
    bool SaveNow();
    // The session ends: a count is stopped and saved as stop does, without showing anything.
    bool StopQuietly();
    // The user chose to lose a held run: Stopped, with its time still on the display.
    void DropHeldRun();
    // A command reached the program (a button, the icon): the user is at the computer.
    void NoteCommand();
    // The session was locked or unlocked: a locked session counts as away from its lock on.
    void OnSessionLock(bool bLocked);

    CountState GetState() const { return m_state; }
    bool IsStopped() const { return m_state == CountState::Stopped; }
    bool IsRunning() const { return m_state == CountState::Running; }
    // A save has failed and none has succeeded since: time counted is not in the file yet.
    bool IsSaveFailing() const { return m_bSaveFailing; }
    std::int64_t GetRunSeconds();
    // The project's total as the file held it at the last save, plus what is counted since.
    std::int64_t GetShownTotal();
    // Milliseconds since the last save that succeeded (or since the start).
    std::int64_t GetMsSinceSaved();
    const std::string& GetProjectName() const { return m_record.strName; }
    // Shows the run counter and the total as they stand now.
    void Refresh();

    int m_nCurrentProject = 0; // the project box's index of the counted project

protected:
    // Milliseconds on a monotonic clock that stands still while the computer sleeps.
    virtual std::int64_t GetMonotonicMs() = 0;
    // Asks for OnTick after nDelayMs; a negative delay stops the timer.
    virtual void ScheduleTick(std::int64_t nDelayMs) = 0;
    virtual void ShowCount(const std::string& strRun, const std::string& strTotal) = 0;
    // The selected project's name and which of the entries of that name it is; -1 when none.
    virtual int GetSelectedProject(std::string& strName, int& nOccurrence) = 0;
    // Reads the total at the start of a count; shows its own message when it cannot.
    virtual bool ReadCountedTotal(CountedRecord& record, std::int64_t& nTotal) = 0;
    // Adds the seconds to the total in the file without showing anything; strError tells why
    // it failed.
    virtual bool AddToTotal(CountedRecord& record, std::int64_t nSeconds, bool bFlush,
                            TotalUpdate& update, std::string& strError) = 0;
    // The counted project was found at another index (m_nCurrentProject).
    virtual void SelectMovedProject() = 0;
    virtual void ShowMessage(const char* pszText) = 0;
    // The state or the save's health changed: buttons, icon, status line.
    virtual void OnCountChanged() = 0;
    // Milliseconds since the last keyboard or mouse input anywhere in the session.
    virtual std::int64_t GetIdleMs() = 0;
    // Minutes without input after which the user counts as away; 0 when that is off.
    virtual int GetAwayLimitMinutes() = 0;
    // Brings the dialog to the front and asks whether the time away is kept.
    virtual bool AskKeepAwayTime(const AwaySpan& span) = 0;
    // Keeps, where it outlives the program, the away time not added yet (nMinutes < 0: none), so
    // that a start after a crash or a session end can tell of it.
    virtual void NoteAwayTime(const std::string& strProject, std::int64_t nMinutes) = 0;

private:
    void Resume();
    void Freeze();
    bool FinishStop(std::string& strError);
    bool SavePending(bool bFlush, std::string& strError);
    void SetState(CountState state);
    void SetSaveFailing(bool bFailing);
    void ScheduleNextTick();
    void NoticeCap();
    std::int64_t GetRunMs();
    std::int64_t GetPendingSeconds();
    std::int64_t GetDueSeconds();
    std::int64_t GetRunMsAt(std::int64_t nMonotonicMs);
    std::int64_t GetAwayMs(); // of the run, since the absence began
    void CheckAway();
    void EndAway();
    void LeaveAwayUnanswered();

    CountState m_state = CountState::Stopped;
    CountedRecord m_record;
    std::int64_t m_nRunMsBefore = 0;     // time counted in this run before the current stretch
    std::int64_t m_nStretchStartMs = 0;  // clock when the current running stretch began
    std::int64_t m_nSavedRunSeconds = 0; // seconds of the run that are in the file
    std::int64_t m_nFileTotal = 0;       // the total the file held at the last save
    std::int64_t m_nLastAttemptMs = 0;
    std::int64_t m_nLastFlushMs = 0;
    std::int64_t m_nLastSavedMs = 0;
    bool m_bSaveFailing = false;
    bool m_bCapNoticeShown = false;
    // Away from the computer: the run's time and the clock when it began; -1 when not away.
    std::int64_t m_nAwayFromRunMs = -1;
    std::int64_t m_nAwayFromMs = 0;
    std::int64_t m_nAwayNotedMinutes = -1;
    std::int64_t m_nLastCommandMs = 0;
    std::int64_t m_nLockedAtMs = -1; // -1 while the session is not locked
    int m_nAwayLimitMinutes = 0;
    bool m_bAsking = false;
};
