#include "LockFile.h"

#include "LockOwner.h"
#include "framework/Afx.h"
#include "framework/WidePath.h"

#include <string>

namespace {

// The byte the lock covers lies far past the note, so that a copy on another computer can read
// the note while Windows enforces the lock there.
const DWORD kLockOffset = 0x40000000;
const int kTries = 20;
const DWORD kTryPauseMs = 50;

LockTime ToLockTime(const SYSTEMTIME& time) {
    return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

SYSTEMTIME ToSystemTime(const LockTime& time) {
    SYSTEMTIME system{};
    system.wYear = static_cast<WORD>(time.nYear);
    system.wMonth = static_cast<WORD>(time.nMonth);
    system.wDay = static_cast<WORD>(time.nDay);
    system.wHour = static_cast<WORD>(time.nHour);
    system.wMinute = static_cast<WORD>(time.nMinute);
    system.wSecond = static_cast<WORD>(time.nSecond);
    return system;
}

bool LockByte(HANDLE hFile) {
    OVERLAPPED overlapped{};
    overlapped.Offset = kLockOffset;
    return ::LockFileEx(hFile, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                        &overlapped) != FALSE;
}

std::string ReadNote(HANDLE hFile) {
    char buffer[1024];
    DWORD nRead = 0;
    OVERLAPPED overlapped{};
    if (!::ReadFile(hFile, buffer, sizeof buffer, &nRead, &overlapped))
        return std::string();
    return std::string(buffer, nRead);
}

HANDLE OpenToRead(const std::wstring& strPath) {
    return ::CreateFileW(strPath.c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
}

// The file's last name was removed (its holder ended as this copy opened it): a lock on it
// guards nothing.
bool IsRemoved(HANDLE hFile) {
    BY_HANDLE_FILE_INFORMATION info{};
    return ::GetFileInformationByHandle(hFile, &info) && info.nNumberOfLinks == 0;
}

} // namespace

CLockFile::~CLockFile() {
    if (m_hFile == INVALID_HANDLE_VALUE)
        return;
    // Removed through this handle before it closes, so a copy that took the lock meanwhile on
    // another computer keeps its file.
    FILE_DISPOSITION_INFO disposition{TRUE};
    ::SetFileInformationByHandle(m_hFile, FileDispositionInfo, &disposition, sizeof disposition);
    ::CloseHandle(m_hFile);
}

// Opened for writing without write or delete sharing: on this computer and on a share that
// enforces sharing, a second opener fails at once; elsewhere (and under Wine, between two
// prefixes) the byte-range lock is what tells. A file whose holder crashed is taken over; a
// file system without byte-range locks still has the sharing of the handle kept open.
CLockFile::Result CLockFile::Take(const CString& strProjectFilePath) {
    m_strProjectFilePath = strProjectFilePath;
    const std::wstring strPath = ToWidePath(MakeLockFilePath(strProjectFilePath.Str()));
    for (int nTry = 0; nTry < kTries; ++nTry) {
        HANDLE hFile =
            ::CreateFileW(strPath.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ,
                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
        DWORD nError = ::GetLastError();
        if (hFile == INVALID_HANDLE_VALUE && nError == ERROR_SHARING_VIOLATION) {
            ReadHolder(OpenToRead(strPath));
            return HeldElsewhere;
        }
        // Denied: a folder that takes no new file, a note this user may not write, or a file
        // its holder is removing. A note that can be read still carries the lock.
        if (hFile == INVALID_HANDLE_VALUE && nError == ERROR_ACCESS_DENIED) {
            hFile = OpenToRead(strPath);
            nError = ::GetLastError();
        }
        if (hFile == INVALID_HANDLE_VALUE) {
            if (nError != ERROR_ACCESS_DENIED)
                return Unguarded;
            ::Sleep(kTryPauseMs);
            continue;
        }
        if (!LockByte(hFile) && ::GetLastError() == ERROR_LOCK_VIOLATION) {
            ReadHolder(hFile);
            return HeldElsewhere;
        }
        if (IsRemoved(hFile)) {
            ::CloseHandle(hFile);
            continue;
        }
        m_hFile = hFile;
        NoteOwner();
        return Taken;
    }
    return Unguarded;
}

// The computer, the user and the time in UTC, so a copy in another time zone shows its own.
void CLockFile::NoteOwner() const {
    LockOwner owner;
    char szName[256 + 1];
    DWORD nLength = sizeof szName;
    if (::GetComputerNameA(szName, &nLength))
        owner.strComputer = szName;
    nLength = sizeof szName;
    if (::GetUserNameA(szName, &nLength))
        owner.strUser = szName;
    SYSTEMTIME now;
    ::GetSystemTime(&now);
    owner.since = ToLockTime(now);
    const std::string strNote = FormatLockOwner(owner);
    DWORD nWritten = 0;
    ::SetFilePointer(m_hFile, 0, nullptr, FILE_BEGIN);
    if (::WriteFile(m_hFile, strNote.data(), static_cast<DWORD>(strNote.size()), &nWritten,
                    nullptr))
        ::SetEndOfFile(m_hFile);
}

// The holder writes its note just after taking the lock; a copy that came at that moment
// waits for it a little. Closes hFile.
void CLockFile::ReadHolder(HANDLE hFile) {
    LockOwner owner;
    bool bKnown = false;
    for (int nTry = 0; hFile != INVALID_HANDLE_VALUE && !bKnown && nTry < kTries; ++nTry) {
        bKnown = ParseLockOwner(ReadNote(hFile), owner);
        if (!bKnown)
            ::Sleep(kTryPauseMs);
    }
    if (hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(hFile);
    if (bKnown) {
        SYSTEMTIME utc = ToSystemTime(owner.since), local;
        if (::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
            owner.since = ToLockTime(local);
    }
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    m_strHolderMessage =
        FormatInUseMessage(m_strProjectFilePath.Str(), bKnown ? &owner : nullptr, ToLockTime(now));
}

void CLockFile::ReportHolder() const {
    AfxMessageBox(m_strHolderMessage);
}
