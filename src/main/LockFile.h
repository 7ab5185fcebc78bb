// The lock file beside the project file, which keeps a second computer's copy off a project
// file on a shared folder (the named objects of CSingleInstance reach only this computer).
#pragma once

#include <windows.h>

#include "framework/String.h"

class CLockFile {
public:
    enum Result { Taken, HeldElsewhere, Unguarded };

    CLockFile() = default;
    ~CLockFile();
    CLockFile(const CLockFile&) = delete;
    CLockFile& operator=(const CLockFile&) = delete;

    // Takes the lock for the project file (path in UTF-8) and notes this copy in it.
    // HeldElsewhere: another copy holds it and nothing was changed. Unguarded: no lock file
    // can be made there (a read-only folder).
    Result Take(const CString& strProjectFilePath);
    // After HeldElsewhere: tells the user who holds the file.
    void ReportHolder() const;

private:
    void NoteOwner() const;
    void ReadHolder(HANDLE hFile);

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    CString m_strProjectFilePath;
    CString m_strHolderMessage;
};
