// Who runs Quillet on a project file: the note the running copy keeps in the lock file beside
// it, and the message a copy that finds the file held shows. Portable: the Windows side
// supplies the names and the clock.
#pragma once

#include <string>

// A moment on the calendar: UTC in the lock file, local time in the message.
struct LockTime {
    int nYear = 0, nMonth = 0, nDay = 0, nHour = 0, nMinute = 0, nSecond = 0;
};

struct LockOwner {
    std::string strComputer;
    std::string strUser;
    LockTime since;
};

// "~Projekte.lock" beside the project file (a path with backslashes or slashes).
std::string MakeLockFilePath(const std::string& strProjectFilePath);
std::string FormatLockOwner(const LockOwner& owner);
// False unless the text holds a computer, a user and a valid time.
bool ParseLockOwner(const std::string& strContent, LockOwner& owner);
// What a copy that cannot take the lock tells the user; pOwner null when the note could not be
// read. The owner's time and `now` are both local time.
std::string FormatInUseMessage(const std::string& strProjectFilePath, const LockOwner* pOwner,
                               const LockTime& now);
