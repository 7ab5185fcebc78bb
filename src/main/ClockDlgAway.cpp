// The main dialog's side of away time: the system's idle time and session lock, the question
// when the user is back, and the note of away time nobody could be asked about.
#include "ClockDlg.h"

#include <wtsapi32.h>

#include "SettingsBesideExe.h"
#include "framework/Shell.h"

CString FormatClockAgo(int64_t nAgoMs) {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER when{{now.dwLowDateTime, now.dwHighDateTime}};
    when.QuadPart -= static_cast<ULONGLONG>(nAgoMs) * 10000;
    FILETIME utc{when.LowPart, when.HighPart}, local;
    SYSTEMTIME time{};
    ::FileTimeToLocalFileTime(&utc, &local);
    ::FileTimeToSystemTime(&local, &time);
    CString strTime;
    strTime.Format("%02d:%02d", time.wHour, time.wMinute);
    return strTime;
}

static CString FormatMinutes(int64_t nMinutes) {
    CString strMinutes;
    strMinutes.Format(nMinutes == 1 ? "%d minute" : "%d minutes", static_cast<int>(nMinutes));
    return strMinutes;
}

int64_t CClockDlg::GetIdleMs() {
    LASTINPUTINFO info{sizeof info, 0};
    if (!::GetLastInputInfo(&info))
        return 0;
    return static_cast<DWORD>(::GetTickCount() - info.dwTime);
}

int CClockDlg::GetAwayLimitMinutes() {
    return GetAwayMinutes();
}

// The dialog comes to the front, also from the notification area, and asks once.
bool CClockDlg::AskKeepAwayTime(const AwaySpan& span) {
    BringToFront(m_hWnd);
    CString strQuestion;
    strQuestion.Format("You were away from %s to %s (%s) while %s was counting.\n\n"
                       "Keep this time?",
                       FormatClockAgo(span.nBeganAgoMs).Str().c_str(),
                       FormatClockAgo(0).Str().c_str(), // asked as the absence ends
                       FormatMinutes(span.nMinutes).Str().c_str(), span.strProject.c_str());
    // No is the default: a key pressed by chance never keeps the time.
    return AfxMessageBox(strQuestion, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void CClockDlg::NoteAwayTime(const std::string& strProject, int64_t nMinutes) {
    SetAwayNote(strProject, nMinutes > 0 ? static_cast<int>(nMinutes) : 0);
}

// At start-up: away time a count left out the last time, which nobody could be asked about.
void CClockDlg::TellLeftOutAwayTime() {
    std::string strProject;
    int nMinutes = 0;
    if (!TakeAwayNote(strProject, nMinutes))
        return;
    CString strText;
    strText.Format("When Quillet last ended, you had been away for %s while %s was counting. "
                   "That time was not added to the project.",
                   FormatMinutes(nMinutes).Str().c_str(), strProject.c_str());
    AfxMessageBox(strText, MB_OK | MB_ICONINFORMATION);
}

LRESULT CClockDlg::OnSessionChange(WPARAM wParam, LPARAM) {
    if (wParam == WTS_SESSION_LOCK || wParam == WTS_SESSION_UNLOCK)
        OnSessionLock(wParam == WTS_SESSION_LOCK);
    return 0;
}

// A locked session counts as time away; Windows tells of locks from the first count on.
void CClockDlg::WatchSessionLock() {
    if (!m_bWatchingLock && IsRunning())
        m_bWatchingLock = RegisterSessionNotification(m_hWnd) != FALSE;
}

LRESULT CClockDlg::OnDestroyDialog(WPARAM, LPARAM) {
    if (m_bWatchingLock)
        UnregisterSessionNotification(m_hWnd);
    return 0;
}
