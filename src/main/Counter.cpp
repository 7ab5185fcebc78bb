#include "Counter.h"

#include <algorithm>

#include "framework/String.h"

const char* const kMsgTotalCapped =
    "This project's total has reached 999:59:59, the most the project file can hold. "
    "The run counter goes on, but no further time is added to the project.";

namespace {

// While a count runs, what it counted reaches the file every five seconds, so the program ending
// without warning loses at most that; the disk is made to write it through once a minute (and
// at pause and stop), so a power loss costs at most a minute.
const std::int64_t kCheckpointMs = 5000;
const std::int64_t kFlushMs = 60000;

} // namespace

void CCounter::OnStart() {
    if (m_state == CountState::Paused || m_state == CountState::Held) {
        Resume();
        return;
    }
    if (m_state != CountState::Stopped)
        return;
    CountedRecord record;
    m_nCurrentProject = GetSelectedProject(record.strName, record.nOccurrence);
    if (m_nCurrentProject == -1 || record.strName.empty()) {
        ShowMessage(kMsgChooseProject);
        return;
    }
    record.nIndex = m_nCurrentProject;
    std::int64_t nTotal = 0;
    if (!ReadCountedTotal(record, nTotal))
        return;
    m_record = record;
    if (record.nIndex != m_nCurrentProject) {
        m_nCurrentProject = record.nIndex;
        SelectMovedProject();
    }
    const std::int64_t nNow = GetMonotonicMs();
    m_nFileTotal = nTotal;
    m_nRunMsBefore = m_nSavedRunSeconds = 0;
    m_nStretchStartMs = m_nLastAttemptMs = m_nLastFlushMs = m_nLastSavedMs = nNow;
    m_nLastCommandMs = nNow;
    m_nAwayLimitMinutes = GetAwayLimitMinutes();
    m_nAwayFromRunMs = -1;
    m_bCapNoticeShown = false;
    SetState(CountState::Running);
    Refresh();
    ScheduleNextTick();
    NoticeCap();
}

// A pause saves at once and flushes, so a paused count is in the file; a failed save is shown
// in the dialog and tried again, it opens no message box.
void CCounter::OnPause() {
    if (m_state == CountState::Stopped)
        return;
    NoteCommand();
    if (m_state != CountState::Running) {
        Resume();
        return;
    }
    if (m_nAwayFromRunMs >= 0)
        EndAway();
    if (m_state != CountState::Running)
        return;
    Freeze();
    SetState(CountState::Paused);
    Refresh();
    std::string strError;
    SavePending(true, strError);
    ScheduleNextTick();
}

void CCounter::Resume() {
    m_nStretchStartMs = m_nLastCommandMs = GetMonotonicMs();
    m_nAwayLimitMinutes = GetAwayLimitMinutes();
    SetState(CountState::Running);
    Refresh();
    ScheduleNextTick();
}

// The count is Held from the moment stop is pressed until its save succeeded, also while the
// message about a failed save stands open: a session end meanwhile finds it and saves it.
void CCounter::OnStop() {
    if (m_state == CountState::Stopped)
        return;
    NoteCommand();
    if (m_nAwayFromRunMs >= 0)
        EndAway();
    if (m_state == CountState::Stopped)
        return;
    Freeze();
    SetState(CountState::Held);
    std::string strError;
    if (!FinishStop(strError))
        ShowMessage(strError.c_str());
}

bool CCounter::StopQuietly() {
    if (m_state == CountState::Stopped)
        return true;
    LeaveAwayUnanswered();
    Freeze();
    SetState(CountState::Held);
    std::string strError;
    return FinishStop(strError);
}

bool CCounter::SaveNow() {
    std::string strError;
    if (m_state == CountState::Stopped)
        return true;
    if (m_state == CountState::Held)
        return FinishStop(strError);
    return SavePending(true, strError);
}

void CCounter::DropHeldRun() {
    if (m_state != CountState::Held)
        return;
    m_bSaveFailing = false;
    m_nAwayFromRunMs = -1;
    SetState(CountState::Stopped);
    ScheduleTick(-1);
}

// A stop with nothing left unsaved ends even when its flush fails: no time can be lost then.
bool CCounter::FinishStop(std::string& strError) {
    if (!SavePending(true, strError) && GetPendingSeconds() != 0) {
        ScheduleNextTick();
        return false;
    }
    m_bSaveFailing = false;
    m_nRunMsBefore = m_nSavedRunSeconds = 0;
    m_nAwayFromRunMs = -1;
    SetState(CountState::Stopped);
    ShowCount("00:00:00", FormatTotal(m_nFileTotal));
    ScheduleTick(-1);
    return true;
}

// The time counted since the last save goes to the total the file holds now; when the save
// fails it stays pending and goes with the next one.
bool CCounter::SavePending(bool bFlush, std::string& strError) {
    const std::int64_t nNow = GetMonotonicMs();
    const std::int64_t nRunSeconds = GetDueSeconds();
    const int nIndexBefore = m_record.nIndex;
    TotalUpdate update;
    m_nLastAttemptMs = nNow;
    const bool bSaved = AddToTotal(m_record, nRunSeconds - m_nSavedRunSeconds, bFlush, update,
                                   strError);
    if (m_record.nIndex != nIndexBefore && m_record.nIndex >= 0) {
        m_nCurrentProject = m_record.nIndex;
        SelectMovedProject();
    }
    if (bSaved) {
        m_nSavedRunSeconds = nRunSeconds;
        m_nFileTotal = update.nTotal;
        m_nLastSavedMs = nNow;
        if (bFlush)
            m_nLastFlushMs = nNow;
    }
    SetSaveFailing(!bSaved);
    if (update.bCapped)
        NoticeCap();
    return bSaved;
}

void CCounter::OnTick() {
    if (m_state == CountState::Stopped) {
        ScheduleTick(-1);
        return;
    }
    const std::int64_t nNow = GetMonotonicMs();
    const std::int64_t nAwayBefore = m_nAwayFromRunMs;
    CheckAway();
    if (m_state == CountState::Stopped)
        return;
    const bool bAwayChanged = m_nAwayFromRunMs != nAwayBefore;
    if ((bAwayChanged || nNow - m_nLastAttemptMs >= kCheckpointMs) &&
        (GetPendingSeconds() != 0 || m_bSaveFailing)) {
        std::string strError;
        if (m_state == CountState::Held && FinishStop(strError))
            return;
        if (m_state != CountState::Held)
            SavePending(m_state != CountState::Running || nNow - m_nLastFlushMs >= kFlushMs,
                        strError);
    }
    Refresh();
    ScheduleNextTick();
    NoticeCap();
}

// Running: at the run's next second. Paused or held with time unsaved: at the next retry.
void CCounter::ScheduleNextTick() {
    const bool bUnsaved = m_bSaveFailing || GetPendingSeconds() != 0;
    if (m_state == CountState::Stopped || (m_state != CountState::Running && !bUnsaved)) {
        ScheduleTick(-1);
        return;
    }
    if (m_state == CountState::Running) {
        ScheduleTick(1000 - GetRunMs() % 1000);
        return;
    }
    ScheduleTick(std::max<std::int64_t>(1, m_nLastAttemptMs + kCheckpointMs - GetMonotonicMs()));
}

// Once per run, when the total reaches 999:59:59 (or stood above it) and time is still being
// counted; shown last, as the message box lets the timer go on beneath it.
void CCounter::NoticeCap() {
    if (m_bCapNoticeShown || m_state == CountState::Stopped ||
        m_nFileTotal + GetPendingSeconds() <= kMaxTotalSeconds)
        return;
    m_bCapNoticeShown = true;
    ShowMessage(kMsgTotalCapped);
}

void CCounter::SetState(CountState state) {
    m_state = state;
    OnCountChanged();
}

void CCounter::SetSaveFailing(bool bFailing) {
    if (m_bSaveFailing == bFailing)
        return;
    m_bSaveFailing = bFailing;
    OnCountChanged();
}

void CCounter::Freeze() {
    m_nRunMsBefore = GetRunMs();
}

std::int64_t CCounter::GetRunMs() {
    return m_state == CountState::Running ? GetRunMsAt(GetMonotonicMs()) : m_nRunMsBefore;
}

std::int64_t CCounter::GetRunSeconds() {
    return GetRunMs() / 1000;
}

// Away, only the time up to the absence's beginning is due, so the file holds the total as it
// was then; it may be less than what was saved before the absence showed, which is then taken
// back.
std::int64_t CCounter::GetDueSeconds() {
    return m_nAwayFromRunMs >= 0 ? m_nAwayFromRunMs / 1000 : GetRunSeconds();
}

std::int64_t CCounter::GetPendingSeconds() {
    return GetDueSeconds() - m_nSavedRunSeconds;
}

// A total typed above 999:59:59 is shown as it stands; below it, it never passes it.
std::int64_t CCounter::GetShownTotal() {
    if (m_nFileTotal > kMaxTotalSeconds)
        return m_nFileTotal;
    return std::min(m_nFileTotal + GetPendingSeconds(), kMaxTotalSeconds);
}

std::int64_t CCounter::GetMsSinceSaved() {
    return GetMonotonicMs() - m_nLastSavedMs;
}

void CCounter::Refresh() {
    const std::int64_t nRun = GetRunSeconds();
    CString strRun;
    strRun.Format("%02d:%02d:%02d", static_cast<int>(nRun / 3600),
                  static_cast<int>(nRun / 60 % 60), static_cast<int>(nRun % 60));
    ShowCount(strRun.Str(), FormatTotal(GetShownTotal()));
}
