// Time away from the computer while a count runs: noticed from the last input, the last command
// or a locked session, held out of the file while it lasts, and added only when the user, back,
// says to keep it.
#include "Counter.h"

#include <algorithm>

namespace {

// Input within this of the absence's beginning is the input it was measured from.
const std::int64_t kInputSlackMs = 1000;

// Minutes as the user is told of them: a part of a minute counts as one.
std::int64_t MinutesOf(std::int64_t nMs) {
    return (nMs + 59999) / 60000;
}

} // namespace

void CCounter::NoteCommand() {
    m_nLastCommandMs = GetMonotonicMs();
}

void CCounter::OnSessionLock(bool bLocked) {
    m_nLockedAtMs = bLocked ? GetMonotonicMs() : -1;
}

// The run's time at a moment of the current running stretch.
std::int64_t CCounter::GetRunMsAt(std::int64_t nMonotonicMs) {
    return m_nRunMsBefore + std::max<std::int64_t>(0, nMonotonicMs - m_nStretchStartMs);
}

std::int64_t CCounter::GetAwayMs() {
    return GetRunMs() - m_nAwayFromRunMs;
}

// Away: the session locked, or no input nor command for the limit. Back: input after the
// absence began, with the session unlocked; then the question, on this tick.
void CCounter::CheckAway() {
    if (m_state != CountState::Running || m_bAsking)
        return;
    const std::int64_t nNow = GetMonotonicMs();
    const std::int64_t nLastInput = nNow - GetIdleMs();
    if (m_nAwayFromRunMs >= 0) {
        if (m_nLockedAtMs < 0 && nLastInput > m_nAwayFromMs + kInputSlackMs) {
            EndAway();
            return;
        }
        const std::int64_t nMinutes = MinutesOf(GetAwayMs());
        if (nMinutes != m_nAwayNotedMinutes) {
            m_nAwayNotedMinutes = nMinutes;
            NoteAwayTime(m_record.strName, nMinutes);
        }
        return;
    }
    const std::int64_t nActive = std::max({nLastInput, m_nLastCommandMs, m_nStretchStartMs});
    std::int64_t nAwayFrom = -1;
    if (m_nLockedAtMs >= 0)
        nAwayFrom = std::max(nActive, m_nLockedAtMs);
    else if (m_nAwayLimitMinutes > 0 && nNow - nActive >= m_nAwayLimitMinutes * 60000LL)
        nAwayFrom = nActive;
    if (nAwayFrom < 0)
        return;
    m_nAwayFromMs = nAwayFrom;
    m_nAwayFromRunMs = GetRunMsAt(nAwayFrom);
    m_nAwayNotedMinutes = MinutesOf(GetAwayMs());
    NoteAwayTime(m_record.strName, m_nAwayNotedMinutes);
}

// The question is asked once; the count runs on beneath it, and the away time stays out of the
// file until it is answered. No takes the time away off the run; either answer ends the span.
void CCounter::EndAway() {
    const std::int64_t nNow = GetMonotonicMs();
    const std::int64_t nAwayMs = GetAwayMs();
    AwaySpan span;
    span.strProject = m_record.strName;
    span.nBeganAgoMs = nNow - m_nAwayFromMs;
    span.nMinutes = MinutesOf(nAwayMs);
    m_bAsking = true;
    ScheduleNextTick(); // the count goes on beneath the question
    const bool bKeep = AskKeepAwayTime(span);
    m_bAsking = false;
    if (m_nAwayFromRunMs < 0 || m_state == CountState::Stopped)
        return; // the session ended meanwhile, which left the away time out
    if (!bKeep)
        m_nRunMsBefore -= nAwayMs;
    m_nAwayFromRunMs = -1;
    NoteAwayTime(m_record.strName, -1);
    std::string strError;
    SavePending(false, strError);
    Refresh();
    ScheduleNextTick();
}

// The session ends with the user away, or under the question: the stop's save holds the total
// at the absence's beginning, and the note tells the next start how much was left out.
void CCounter::LeaveAwayUnanswered() {
    if (m_nAwayFromRunMs >= 0)
        NoteAwayTime(m_record.strName, MinutesOf(GetAwayMs()));
}
