// The run counter and the project total: the states Stopped, Running and Paused, and the
// counting loop that runs inside the handler that began a count. Portable: the clock, the
// message pump, the display and the project file are reached through the virtual hooks that
// the main dialog implements (and the unit tests fake).
#pragma once

#include <cstdint>

#include "framework/String.h"

// The project total of the current project: zeroed at start-up, loaded when a project is
// picked, advanced while counting and written back by stop.
extern int g_nTotalHours;
extern int g_nTotalMinutes;
extern int g_nTotalSeconds;
extern CString g_strTotal; // "%03d:%02d:%02d", the form of a time line of the project file

// The largest total a 9-byte time line can hold: 999:59:59.
constexpr int64_t kMaxTotalSeconds = 999 * 3600 + 59 * 60 + 59;

extern const char* const kMsgChooseProject; // "Please choose a project"
extern const char* const kMsgTotalCapped;

class CCounter {
public:
    virtual ~CCounter() = default;

    void OnStart();
    void OnPause();
    void OnStop();
    // Saves a running or paused count as stop does, without showing anything; false when the
    // save failed and the count is held.
    bool StopQuietly();
    // Saves the total counted so far without ending the count; a held count is stopped again.
    // False when a count is going or held and its total could not be saved.
    bool SaveQuietly();
    void WaitSeconds(int nSeconds);

    bool IsStopped() const { return m_bStopped; }
    bool IsRunning() const { return !m_bStopped && !m_bPaused; }
    bool IsPaused() const { return m_bPaused; }
    // A stop whose save failed: the count is held as Paused until a stop saves it.
    bool HoldsUnsavedCount() const { return m_bPaused && m_bUnsaved; }
    // The user chose to lose a held count: Stopped, with its time still on the display.
    void DropUnsavedCount();

    bool m_bStopped = true;
    bool m_bPaused = false;
    int m_nCurrentProject = 0;
    CString m_strCurrentName; // the project's name as the list showed it at the start

protected:
    // Milliseconds on a monotonic clock that stands still while the computer sleeps.
    virtual int64_t GetMonotonicMs() = 0;
    // Blocks until a message arrives for the thread or nTimeoutMs have passed.
    virtual void WaitForMessages(int64_t nTimeoutMs) = 0;
    virtual void DispatchPendingMessages() = 0;
    virtual void ShowRunCounter(const char* pszText) = 0;
    // The selected item of the project box and its text; -1 when nothing is selected.
    virtual int GetSelectedProject(CString& strName) = 0;
    // Saves the total of the project named strName, at nProject or where another program moved
    // it, which nProject then tells.
    virtual bool SaveProjectTotal(int& nProject, const CString& strName, const CString& strTotal,
                                  bool bQuiet) = 0;
    // The current project was found at a new index: the list shows the file's records again.
    virtual void SelectMovedProject() = 0;
    virtual void ShowMessage(const char* pszText) = 0;

private:
    void Resume();
    bool StopCount(bool bQuiet);
    bool SaveTotal(bool bQuiet);
    void RunCountingLoop();
    bool IsLoopCurrent(int nGeneration) const;
    void UpdateCounters();
    void SaveCheckpoint();
    int64_t GetRunMs();

    int64_t m_nRunMsBefore = 0;     // time counted in this run before the current running stretch
    int64_t m_nStretchStartMs = 0;  // clock when the current running stretch began
    int64_t m_nTotalAtRunStart = 0; // project total in seconds when the run began
    int64_t m_nRunSeconds = 0;      // run counter, whole seconds
    int64_t m_nCheckpointMinute = 0;
    int m_nLoopGeneration = 0;
    bool m_bTotalCapped = false;
    bool m_bCapNoticeShown = false;
    bool m_bUnsaved = false;
};
