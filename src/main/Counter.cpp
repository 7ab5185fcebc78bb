#include "Counter.h"

#include <algorithm>

int g_nTotalHours = 0;
int g_nTotalMinutes = 0;
int g_nTotalSeconds = 0;
CString g_strTotal;

const char* const kMsgChooseProject = "Please choose a project";
const char* const kMsgTotalCapped =
    "This project's total has reached 999:59:59, the most the project file can hold. "
    "The run counter goes on, but no further time is added to the project.";

void CCounter::OnStart() {
    if (m_bPaused) {
        Resume();
        return;
    }
    if (!m_bStopped)
        return;
    CString strName;
    m_nCurrentProject = GetSelectedProject(strName);
    if (m_nCurrentProject == -1 || strName.IsEmpty()) {
        ShowMessage(kMsgChooseProject);
        return;
    }
    m_strCurrentName = strName;
    // A total typed by hand may hold 60 or more minutes or seconds, or a sign; counting carries
    // them into the higher fields so the saved time line is always well formed.
    int64_t nTotal =
        int64_t(g_nTotalHours) * 3600 + int64_t(g_nTotalMinutes) * 60 + g_nTotalSeconds;
    m_nTotalAtRunStart = std::clamp<int64_t>(nTotal, 0, kMaxTotalSeconds);
    m_nRunMsBefore = 0;
    m_nRunSeconds = 0;
    m_nCheckpointMinute = 0;
    m_bCapNoticeShown = false;
    m_bStopped = false;
    RunCountingLoop();
}

void CCounter::OnPause() {
    if (m_bStopped)
        return;
    if (m_bPaused) {
        Resume();
        return;
    }
    m_nRunMsBefore = GetRunMs();
    m_bPaused = true;
    UpdateCounters();
}

void CCounter::Resume() {
    m_bPaused = false;
    m_bUnsaved = false;
    RunCountingLoop();
}

void CCounter::OnStop() {
    StopCount(false);
}

bool CCounter::StopQuietly() {
    return StopCount(true);
}

bool CCounter::SaveQuietly() {
    if (m_bStopped)
        return true;
    if (m_bUnsaved)
        return StopCount(true);
    UpdateCounters();
    return SaveTotal(true);
}

// A failed save does not drop the count: it is held as Paused with its time on the display,
// so that closing asks before losing it and a later stop tries again.
bool CCounter::StopCount(bool bQuiet) {
    if (m_bStopped)
        return true;
    if (!m_bPaused)
        m_nRunMsBefore = GetRunMs();
    m_bStopped = true;
    m_bPaused = false;
    UpdateCounters();
    if (SaveTotal(bQuiet)) {
        m_bUnsaved = false;
        ShowRunCounter("00:00:00");
        return true;
    }
    m_bStopped = false;
    m_bPaused = true;
    m_bUnsaved = true;
    return false;
}

void CCounter::DropUnsavedCount() {
    if (!HoldsUnsavedCount())
        return;
    m_bPaused = m_bUnsaved = false;
    m_bStopped = true;
}

// The save follows the project by its name when another program moved its record.
bool CCounter::SaveTotal(bool bQuiet) {
    int nProject = m_nCurrentProject;
    const bool bSaved = SaveProjectTotal(nProject, m_strCurrentName, g_strTotal, bQuiet);
    if (nProject != m_nCurrentProject) {
        m_nCurrentProject = nProject;
        SelectMovedProject();
    }
    return bSaved;
}

// Time spent Running in this run, up to now.
int64_t CCounter::GetRunMs() {
    if (m_bStopped || m_bPaused)
        return m_nRunMsBefore;
    return m_nRunMsBefore + std::max<int64_t>(0, GetMonotonicMs() - m_nStretchStartMs);
}

// Sets the run counter and the project total from the time counted so far and shows the run
// counter. Both advance by the same whole seconds, so they never drift apart.
void CCounter::UpdateCounters() {
    m_nRunSeconds = GetRunMs() / 1000;
    int64_t nTotal = m_nTotalAtRunStart + m_nRunSeconds;
    m_bTotalCapped = nTotal > kMaxTotalSeconds;
    if (m_bTotalCapped)
        nTotal = kMaxTotalSeconds;
    g_nTotalHours = static_cast<int>(nTotal / 3600);
    g_nTotalMinutes = static_cast<int>(nTotal / 60 % 60);
    g_nTotalSeconds = static_cast<int>(nTotal % 60);
    g_strTotal.Format("%03d:%02d:%02d", g_nTotalHours, g_nTotalMinutes, g_nTotalSeconds);

    CString strRun;
    strRun.Format("%02d:%02d:%02d", static_cast<int>(m_nRunSeconds / 3600),
                  static_cast<int>(m_nRunSeconds / 60 % 60), static_cast<int>(m_nRunSeconds % 60));
    ShowRunCounter(strRun);
}

// While a count runs, its total is also saved once a minute, so that a crash or power loss
// costs at most a minute. A failing checkpoint stays silent; stop reports.
void CCounter::SaveCheckpoint() {
    int64_t nMinute = m_nRunSeconds / 60;
    if (nMinute <= m_nCheckpointMinute)
        return;
    m_nCheckpointMinute = nMinute;
    SaveTotal(true);
}

bool CCounter::IsLoopCurrent(int nGeneration) const {
    return !m_bStopped && !m_bPaused && nGeneration == m_nLoopGeneration;
}

// The counting loop stays on the stack of the handler that began the count; every other
// command reaches the program through the pump inside WaitSeconds. A loop that was ended while
// a newer one started above it finds a newer generation when it regains control and leaves.
void CCounter::RunCountingLoop() {
    int nGeneration = ++m_nLoopGeneration;
    m_nStretchStartMs = GetMonotonicMs();
    while (IsLoopCurrent(nGeneration)) {
        UpdateCounters();
        SaveCheckpoint();
        if (m_bTotalCapped && !m_bCapNoticeShown) {
            m_bCapNoticeShown = true;
            ShowMessage(kMsgTotalCapped);
        }
        if (!IsLoopCurrent(nGeneration))
            break;
        WaitSeconds(1);
    }
}

// Waits until the run counter has advanced by nSeconds, dispatching messages meanwhile;
// returns early when a handler pauses or stops the count. It blocks in the message wait
// instead of spinning, and it aims at the run's own second boundaries, so it never drifts.
void CCounter::WaitSeconds(int nSeconds) {
    int nGeneration = m_nLoopGeneration;
    int64_t nDeadline = GetMonotonicMs() + int64_t(nSeconds) * 1000 - GetRunMs() % 1000;
    for (;;) {
        if (!IsLoopCurrent(nGeneration))
            return;
        int64_t nRemaining = nDeadline - GetMonotonicMs();
        if (nRemaining <= 0)
            return;
        WaitForMessages(nRemaining);
        DispatchPendingMessages();
    }
}
