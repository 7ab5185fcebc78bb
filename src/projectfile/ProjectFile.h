// The project file "Projekte.dbu": its path, presence test and the operations that read or
// rewrite it. Portable: the file system, the lists on screen and the message boxes are
// reached through the small interfaces below, so the same code runs on Windows and in the
// native unit tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FileSystem.h"
#include "ProjectFileFormat.h"

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
extern const char* const kMsgErrorReading;  // "Error reading DataBaseFile"
extern const char* const kMsgErrorWriting;  // "Error writing DataBaseFile"
extern const char* const kMsgNoProject;     // "No project available"
extern const char* const kMsgChooseProject; // "Please choose a project"
extern const char* const kMsgListChanged; // the delete dialog's record was moved by another program
extern const char* const kMsgListChangedUnchanged; // the same for a correction: nothing changed

// The message when the record that a count was started on is no longer in the file.
std::string MakeProjectNotFoundMessage(const std::string& strName);
// The project picked at a start is no longer in the file.
extern const char* const kMsgProjectGone;

struct CRemovedRecord;
// The message when a delete cannot be taken back, naming the project and its total.
std::string MakeNotRestoredMessage(const CRemovedRecord& removed);

// Some 1.5 million projects; the whole file and a changed copy must fit a 32-bit process. A file
// larger than this is not read: it is reported like one that cannot be opened.
const std::uint64_t kMaxReadableSize = 64u << 20;
bool IsReadableSize(std::uint64_t nSize);

// Directory of the executable (cut after its last backslash) plus the file name, however long;
// empty when the module name holds no backslash.
std::string MakePathBesideExe(const std::string& strModuleFileName, const char* pszFileName);
// The project file "Projekte.dbu" beside the executable.
std::string MakeProjectFilePath(const std::string& strModuleFileName);

// The record a count belongs to: the project's name as the lists show it and which of the
// records with that name it is, so records added or removed elsewhere in the file, and other
// records of the same name, never take its time. Where it was last found is checked first.
struct CountedRecord {
    std::string strName;
    int nOccurrence = 0;         // 0 for the first record of that name in the file
    int nIndex = -1;             // its index when last found
    std::uint64_t nNameAt = 0;   // where its name line began then
    std::uint64_t nFileSize = 0; // the file's size then; 0 until it was found
};

// What adding counted time to a total came to.
struct TotalUpdate {
    std::int64_t nTotal = 0; // what the file holds now
    bool bCapped = false;    // some of the time was not added: the total is at 999:59:59 or above
};

// A record as a delete removed it, so that the delete can be taken back at the same place: the
// exact bytes removed (its two lines and one line end, before or after them), its lines for the
// user, and the names the lists showed before and after it (none before the first record,
// bHasNext false after the last).
struct CRemovedRecord {
    int nIndex = -1;
    std::string strRemoved;
    bool bLineEndBefore = false; // the removed bytes began with the line end before the name
    std::string strNameLine;
    std::string strTimeLine;
    std::string strPrevious;
    bool bHasNext = false;
    std::string strNext;
};

class CProjectFile {
public:
    // pfnIsLeadByte tells the lists where a double-byte character begins, so that a long line is
    // never cut inside one; null for a single-byte code page.
    CProjectFile(std::string strPath, IFileSystem& fs, IMessageSink& sink,
                 LeadByteTest pfnIsLeadByte = nullptr);

    ProjectFileState GetState() const;

    void LoadProjectNames(IStringList& list) const;
    bool AppendProject(const std::string& strName) const;
    // Deletes only when the record at the index still carries strName as the lists show it;
    // otherwise says so, sets bListStale and changes nothing. After a deletion bListStale tells
    // whether the lists must be read again: false when they only lose the entry at the index.
    // pRemoved, when given, receives what InsertProjectAt needs to take the delete back.
    bool DeleteProject(int nIndex, const std::string& strName, bool& bListStale,
                       CRemovedRecord* pRemoved = nullptr) const;
    // Puts the removed bytes back where they were, while the records around that place are
    // still the ones that were there; otherwise says so, sets bListStale and changes nothing.
    bool InsertProjectAt(const CRemovedRecord& removed, bool& bListStale) const;
    // Corrections from the overview: the record at the index, only while it carries strName
    // (otherwise says so, sets bListStale, changes nothing). The total is HHH:MM:SS; the new
    // name follows the create dialog's rules.
    bool SetProjectTotal(int nIndex, const std::string& strName, const std::string& strTotal,
                         bool& bListStale) const;
    bool RenameProject(int nIndex, const std::string& strName, const std::string& strNewName,
                       bool& bListStale) const;
    bool ReadProjectTotal(int nIndex, int& nHours, int& nMinutes, int& nSeconds) const;
    // At the start of a count: finds the record by record.strName and record.nOccurrence and
    // reads its total. Reports a file that cannot be read, and a record that is not there
    // (bGone: the lists are out of date).
    bool ReadCountedTotal(CountedRecord& record, std::int64_t& nTotal, bool& bGone) const;
    // Adds nSeconds to the record's total as the file holds it now, on one open of the file, so
    // that a total changed meanwhile by hand or by another copy is added to, never overwritten;
    // negative seconds take time back, down to zero at most.
    // Flushes to the disk when asked. Reports every failure; nothing is written then.
    bool AddToProjectTotal(CountedRecord& record, std::int64_t nSeconds, bool bFlush,
                           TotalUpdate& update) const;
    // pNames, when given, receives the names as the rows show them.
    void LoadOverviewRows(IStringList& list, std::vector<std::string>* pNames = nullptr) const;
    // At start-up, under the single-instance lock: puts back what a change cut short by a crash
    // had overwritten, and removes the temporary files of older versions' saves.
    void RecoverAfterCrash() const;
    // Only while the project file exists and reads: a leftover may be the only copy of its data.
    void RemoveLeftoverTempFiles() const;

private:
    bool ReadContent(std::string& strContent) const;
    bool ReadForChange(std::string& strContent, ProjectFileState& state) const;
    std::vector<std::string> ShownNames(const std::string& strContent) const;
    bool ReadThroughRecord(int nIndex, std::string& strContent, ProjectRecord& record,
                           bool& bFound) const;
    bool SaveContent(const std::string& strContent) const;
    bool ReadOpenFile(IFileSystem::FileHandle hFile, std::string& strContent) const;
    bool ChangeInPlace(IFileSystem::FileHandle hFile, const std::string& strOld,
                       const std::string& strContent, bool& bJournalWritten) const;
    bool WriteJournal(const std::string& strOld, std::size_t nOffset) const;
    // Puts the old content back from a complete journal and removes it; removes one cut short.
    // False when a complete journal could not be rolled back (it is kept for the next try).
    bool RollBackJournal() const;
    bool RollBackJournal(bool& bRolledBack) const;
    bool RollBackFrom(const std::string& strJournal, bool& bRolledBack) const;
    bool HasName(const std::string& strContent, const ProjectRecord& record,
                 const std::string& strName) const;
    bool LocateCounted(IFileSystem::FileHandle hFile, std::uint64_t nSize, CountedRecord& record,
                       std::string& strContent, std::uint64_t& nBase, ProjectRecord& found) const;
    bool FindCounted(const std::string& strContent, CountedRecord& record,
                     ProjectRecord& found) const;
    bool WriteTotalLine(IFileSystem::FileHandle hFile, std::string& strContent,
                        const ProjectRecord& found, std::uint64_t nBase, std::uint64_t nSize,
                        const std::string& strTotal, bool& bReplaceWhole) const;
    bool UpdateOpenTotal(IFileSystem::FileHandle hFile, CountedRecord& record,
                         std::int64_t nSeconds, bool bFlush, TotalUpdate& update,
                         std::string& strReplaced) const;
    bool FindNamedRecord(int nIndex, const std::string& strName, std::string& strContent,
                         ProjectRecord& record, bool& bListStale) const;

    std::string m_strPath;
    IFileSystem& m_fs;
    IMessageSink& m_sink;
    LeadByteTest m_pfnIsLeadByte;
};
