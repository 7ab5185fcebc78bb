// The project file "Projekte.dbu": its path, presence test and the six operations that read
// or rewrite it. Portable: the file system, the lists on screen and the message boxes are
// reached through the small interfaces below, so the same code runs on Windows and in the
// native unit tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "ProjectFileFormat.h"

#include "FileSystem.h"

enum class ProjectFileState { Missing, Empty, NonEmpty };

// Shows a message to the user (a modal message box on Windows).
class IMessageSink {
public:
    virtual ~IMessageSink() = default;
    virtual void ShowMessage(const char* pszText) = 0;
};

// A list on screen that the operations fill: a combo box or a list box.
class IStringList {
public:
    virtual ~IStringList() = default;
    virtual int GetCount() const = 0;
    virtual void DeleteString(int nIndex) = 0;
    virtual void AddString(const char* pszText) = 0;
    // Around the adding of nCount entries holding at most nBytes of text: a list on screen
    // reserves the room at once and draws once, at the end. Nothing by default.
    virtual void BeginFill(int /*nCount*/, std::size_t /*nBytes*/) {}
    virtual void EndFill() {}
};

// The fixed messages.
extern const char* const kMsgErrorReading; // "Error reading DataBaseFile"
extern const char* const kMsgErrorWriting; // "Error writing DataBaseFile"
extern const char* const kMsgNoProject;    // "No project available"
extern const char* const kMsgListChanged; // the delete dialog's record was moved by another program

// The message when the project that a count was started on is no longer in the file exactly once.
std::string MakeProjectNotFoundMessage(const std::string& strName);

// Some 1.5 million projects; the whole file and a changed copy must fit a 32-bit process. A file
// larger than this is not read: it is reported like one that cannot be opened.
const std::uint64_t kMaxReadableSize = 64u << 20;
bool IsReadableSize(std::uint64_t nSize);

// Directory of the executable (cut after its last backslash) plus "Projekte.dbu", however long;
// empty when the module name holds no backslash.
std::string MakeProjectFilePath(const std::string& strModuleFileName);

class CProjectFile {
public:
    // pfnIsLeadByte tells the lists where a double-byte character begins, so that a long line is
    // never cut inside one; null for a single-byte code page.
    CProjectFile(std::string strPath, IFileSystem& fs, IMessageSink& sink,
                 LeadByteTest pfnIsLeadByte = nullptr);

    const std::string& GetPath() const { return m_strPath; }
    ProjectFileState GetState() const;

    void LoadProjectNames(IStringList& list) const;
    bool AppendProject(const std::string& strName) const;
    // Deletes only when the record at the index still carries strName as the lists show it;
    // otherwise says so, sets bListStale and changes nothing. After a deletion bListStale tells
    // whether the lists must be read again: false when they only lose the entry at the index.
    bool DeleteProject(int nIndex, const std::string& strName, bool& bListStale) const;
    bool ReadProjectTotal(int nIndex, int& nHours, int& nMinutes, int& nSeconds) const;
    // Writes the total of the project named strName, at nIndex or, when another program moved
    // it, at the one record that carries the name; nIndex then tells where that was.
    bool WriteProjectTotal(int& nIndex, const std::string& strName,
                           const std::string& strTotal) const;
    void LoadOverviewRows(IStringList& list) const;
    // At start-up, under the single-instance lock: puts back what a change cut short by a crash
    // had overwritten, and removes the temporary files of older versions' saves.
    void RecoverAfterCrash() const;
    // Puts the old content back from a complete journal and removes it; removes one cut short.
    // False when a complete journal could not be rolled back (it is kept for the next try).
    bool RollBackJournal() const;
    // Only while the project file exists and reads: a leftover may be the only copy of its data.
    void RemoveLeftoverTempFiles() const;

private:
    bool ReadContent(std::string& strContent) const;
    std::vector<std::string> ShownNames(const std::string& strContent) const;
    bool ReadThroughRecord(int nIndex, std::string& strContent, ProjectRecord& record,
                           bool& bFound) const;
    bool SaveContent(const std::string& strContent) const;
    bool ChangeInPlace(IFileSystem::FileHandle hFile, const std::string& strContent,
                       bool& bJournalWritten) const;
    bool WriteJournal(const std::string& strOld, std::size_t nOffset) const;
    bool RollBackJournal(bool& bRolledBack) const;
    bool RollBackFrom(const std::string& strJournal, bool& bRolledBack) const;
    bool HasName(const std::string& strContent, const ProjectRecord& record,
                 const std::string& strName) const;
    int FindOnlyRecordNamed(const std::string& strContent, const std::string& strName,
                            ProjectRecord& found) const;
    bool SaveTotalAt(std::string& strContent, const ProjectRecord& record,
                     const std::string& strTotal) const;

    std::string m_strPath;
    IFileSystem& m_fs;
    IMessageSink& m_sink;
    LeadByteTest m_pfnIsLeadByte;
};
