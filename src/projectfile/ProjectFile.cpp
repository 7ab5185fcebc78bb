// The project file's path, its presence test and the operations that only read it.
#include "ProjectFile.h"

#include "FileSystem.h"
#include "ProjectFileFormat.h"

#include <algorithm>
#include <cstdint>
#include <utility>

const char* const kMsgErrorReading = "Error reading DataBaseFile";
const char* const kMsgErrorWriting = "Error writing DataBaseFile";
const char* const kMsgNoProject = "No project available";
const char* const kMsgChooseProject = "Please choose a project";
const char* const kMsgProjectGone =
    "Another program has changed the project file: the project chosen is no longer in it. "
    "The list has been read again; nothing is counted.";
const char* const kMsgListChanged =
    "Another program has changed the project file: the project shown is no longer at its place. "
    "The list has been read again; nothing was deleted.";
const char* const kMsgListChangedUnchanged =
    "Another program has changed the project file: the project shown is no longer at its place. "
    "The list has been read again; nothing was changed.";

namespace {

const char kProjectFileName[] = "Projekte.dbu";
// The first read of a total's record: some 1,500 projects.
const std::size_t kFirstReadSize = 64u << 10;

} // namespace

bool IsReadableSize(std::uint64_t nSize) {
    return nSize <= kMaxReadableSize;
}

std::string MakeProjectNotFoundMessage(const std::string& strName) {
    return "Error writing DataBaseFile: the project \"" + strName +
           "\" is no longer in it. The time counted is kept: stop again once the project "
           "file is mended.";
}

std::string MakePathBesideExe(const std::string& strModuleFileName, const char* pszFileName) {
    const std::size_t nBackslash = strModuleFileName.rfind('\\');
    if (nBackslash == std::string::npos) {
        return std::string();
    }
    return strModuleFileName.substr(0, nBackslash + 1) + pszFileName;
}

std::string MakeProjectFilePath(const std::string& strModuleFileName) {
    return MakePathBesideExe(strModuleFileName, kProjectFileName);
}

CProjectFile::CProjectFile(std::string strPath, IFileSystem& fs, IMessageSink& sink,
                           LeadByteTest pfnIsLeadByte)
    : m_strPath(std::move(strPath)), m_fs(fs), m_sink(sink), m_pfnIsLeadByte(pfnIsLeadByte) {}

// A file too large to read counts as one that cannot be opened: every operation reports it and
// none writes to it, rather than taking it for empty.
ProjectFileState CProjectFile::GetState() const {
    std::uint64_t nSize = 0;
    if (m_strPath.empty() || !m_fs.ProbeSize(m_strPath, nSize) || !IsReadableSize(nSize)) {
        return ProjectFileState::Missing;
    }
    return nSize == 0 ? ProjectFileState::Empty : ProjectFileState::NonEmpty;
}

// The file is read whole, so a failed open or read is seen before anything is shown or
// changed, and the lists are filled from one consistent picture of the file. A file too large
// to hold counts as unreadable, never as empty.
bool CProjectFile::ReadContent(std::string& strContent) const {
    if (!m_fs.ReadAll(m_strPath, strContent, kMaxReadableSize)) {
        m_sink.ShowMessage(kMsgErrorReading);
        return false;
    }
    return true;
}

// What a change starts from: a missing file is reported; an empty one gives empty content.
bool CProjectFile::ReadForChange(std::string& strContent, ProjectFileState& state) const {
    state = GetState();
    if (state == ProjectFileState::Missing) {
        m_sink.ShowMessage(kMsgErrorReading);
        return false;
    }
    strContent.clear();
    return state == ProjectFileState::Empty || ReadContent(strContent);
}

// The names as the project lists show them, one per entry, in file order; none for an empty
// file.
std::vector<std::string> CProjectFile::ShownNames(const std::string& strContent) const {
    std::vector<std::string> names;
    if (strContent.empty()) {
        return names;
    }
    const std::vector<ProjectRecord> records = ScanRecords(strContent);
    names.reserve(records.size());
    for (const ProjectRecord& record : records) {
        names.push_back(ListText(strContent, record.name, m_pfnIsLeadByte));
    }
    return names;
}

// Reads the file from its start only as far as the record at the index reaches (its time line
// ended by a line end), growing the read until it does or the file ends: loading or saving an
// early project's total then costs the same in a file of any size. bFound tells whether the
// record was there; when it was not, strContent holds the whole file. The read grows at most to
// one byte past the largest file that is read, which tells whether the file holds more.
bool CProjectFile::ReadThroughRecord(int nIndex, std::string& strContent, ProjectRecord& record,
                                     bool& bFound) const {
    const std::size_t nMost = static_cast<std::size_t>(kMaxReadableSize) + 1;
    for (std::size_t nWant = kFirstReadSize;; nWant = std::min(nWant * 4, nMost)) {
        if (!m_fs.ReadHead(m_strPath, strContent, nWant)) {
            m_sink.ShowMessage(kMsgErrorReading);
            return false;
        }
        bFound = FindRecord(strContent, nIndex, record);
        const bool bWhole = strContent.size() < nWant;
        if (bWhole || (bFound && record.time.nNext > record.time.nEnd)) {
            return true;
        }
        if (nWant > kMaxReadableSize) { // it grew past what can be held since the test
            m_sink.ShowMessage(kMsgErrorReading);
            return false;
        }
    }
}

bool CProjectFile::HasName(const std::string& strContent, const ProjectRecord& record,
                           const std::string& strName) const {
    return ListText(strContent, record.name, m_pfnIsLeadByte) == strName;
}

// The list is emptied before the test, so a missing or empty file leaves it empty.
void CProjectFile::LoadProjectNames(IStringList& list) const {
    for (int i = list.GetCount() - 1; i >= 0; --i) {
        list.DeleteString(i);
    }
    const ProjectFileState state = GetState();
    if (state == ProjectFileState::Missing) {
        m_sink.ShowMessage(kMsgErrorReading);
        return;
    }
    std::string strContent;
    if (state == ProjectFileState::Empty || !ReadContent(strContent)) {
        return;
    }
    const std::vector<std::string> names = ShownNames(strContent);
    list.BeginFill(static_cast<int>(names.size()), strContent.size());
    for (const std::string& strShown : names) {
        list.AddString(strShown.c_str());
    }
    list.EndFill();
}

void CProjectFile::LoadOverviewRows(IStringList& list, std::vector<std::string>* pNames) const {
    const ProjectFileState state = GetState();
    if (state != ProjectFileState::NonEmpty) {
        m_sink.ShowMessage(state == ProjectFileState::Missing ? kMsgErrorReading : kMsgNoProject);
        return;
    }
    std::string strContent;
    if (!ReadContent(strContent)) {
        return;
    }
    const std::vector<ProjectRecord> records = ScanRecords(strContent);
    list.BeginFill(static_cast<int>(records.size()), strContent.size() + records.size());
    for (const ProjectRecord& record : records) {
        const std::string strName = ListText(strContent, record.name, m_pfnIsLeadByte);
        const std::string strRow =
            strName + '\t' + ListText(strContent, record.time, m_pfnIsLeadByte);
        list.AddString(strRow.c_str());
        if (pNames) {
            pNames->push_back(strName);
        }
    }
    list.EndFill();
}

// An index past the records, like a negative one, finds no time text and gives 0, 0 and 0. The
// line is read as people type totals, minutes and seconds of 60 and more carried.
bool CProjectFile::ReadProjectTotal(int nIndex, int& nHours, int& nMinutes, int& nSeconds) const {
    const ProjectFileState state = GetState();
    if (state == ProjectFileState::Missing) {
        m_sink.ShowMessage(kMsgErrorReading);
    }
    std::string strContent;
    ProjectRecord record;
    bool bFound = false;
    if (state != ProjectFileState::NonEmpty ||
        !ReadThroughRecord(nIndex, strContent, record, bFound)) {
        return false;
    }
    const std::int64_t nTotal =
        ParseTotalSeconds(bFound ? PieceText(strContent, record.time) : std::string());
    nHours = static_cast<int>(std::min<std::int64_t>(nTotal / 3600, 0x7FFFFFFF));
    nMinutes = static_cast<int>(nTotal / 60 % 60);
    nSeconds = static_cast<int>(nTotal % 60);
    return true;
}
