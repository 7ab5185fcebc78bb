// Corrections made after the fact: a total set by hand, a project renamed, a delete taken back.
// Each checks that the record it changes is still the one the user saw, builds the new content
// in memory and hands it to SaveContent, as every other change does.
#include "ProjectFile.h"

#include "FileSystem.h"
#include "ProjectFileFormat.h"

namespace {

const char kLineEnd[] = "\r\n";

} // namespace

std::string MakeNotRestoredMessage(const CRemovedRecord& removed) {
    return "Another program has changed the project file since the delete: the project \"" +
           removed.strNameLine + "\" (" + removed.strTimeLine +
           ") cannot be put back at its place. Nothing was changed.";
}

// The record at the index while it still carries the name the list shows; otherwise the user
// is told that the list is out of date and nothing is found.
bool CProjectFile::FindNamedRecord(int nIndex, const std::string& strName, std::string& strContent,
                                   ProjectRecord& record, bool& bListStale) const {
    bListStale = false;
    ProjectFileState state = ProjectFileState::Empty;
    if (!ReadForChange(strContent, state)) {
        return false;
    }
    if (state == ProjectFileState::Empty || !FindRecord(strContent, nIndex, record) ||
        !HasName(strContent, record, strName)) {
        m_sink.ShowMessage(kMsgListChangedUnchanged);
        bListStale = true;
        return false;
    }
    return true;
}

// The whole time line is replaced, whatever a hand edit left there. A name on the file's last
// line, with no time line after it, gets one.
bool CProjectFile::SetProjectTotal(int nIndex, const std::string& strName,
                                   const std::string& strTotal, bool& bListStale) const {
    bListStale = false;
    std::string strContent;
    ProjectRecord record;
    if (!IsTimeText(strTotal.data(), strTotal.size()) ||
        !FindNamedRecord(nIndex, strName, strContent, record, bListStale)) {
        return false;
    }
    if (record.name.nNext == record.name.nEnd) {
        strContent.insert(record.name.nEnd, kLineEnd + strTotal);
    } else {
        strContent.replace(record.time.nBegin, record.time.nEnd - record.time.nBegin, strTotal);
    }
    return SaveContent(strContent);
}

// The whole name line is replaced, also the part beyond what the lists show of a long one.
bool CProjectFile::RenameProject(int nIndex, const std::string& strName,
                                 const std::string& strNewName, bool& bListStale) const {
    bListStale = false;
    std::string strContent;
    ProjectRecord record;
    if (!IsValidProjectName(strNewName) ||
        !FindNamedRecord(nIndex, strName, strContent, record, bListStale)) {
        return false;
    }
    strContent.replace(record.name.nBegin, record.name.nEnd - record.name.nBegin, strNewName);
    return SaveContent(strContent);
}

// The removed bytes go back where the delete took them from: after the previous record's time
// line when they began with the line end before the name, else in front of the record that
// followed (or into the emptied file), so the file's bytes are again those from before the
// delete. Only while the neighbours are the ones it had: a record put back among others would
// land at a place the user never chose.
bool CProjectFile::InsertProjectAt(const CRemovedRecord& removed, bool& bListStale) const {
    bListStale = false;
    ProjectFileState state = ProjectFileState::Empty;
    std::string strContent;
    if (!ReadForChange(strContent, state)) {
        return false;
    }
    const std::vector<std::string> names = ShownNames(strContent);
    const int nCount = static_cast<int>(names.size());
    const int nIndex = removed.nIndex;
    const bool bPreviousHolds =
        nIndex > 0 ? nIndex <= nCount && names[nIndex - 1] == removed.strPrevious : nIndex == 0;
    const bool bNextHolds =
        removed.bHasNext ? (nIndex >= 0 && nIndex < nCount && names[nIndex] == removed.strNext)
                         : nIndex == nCount;
    if (!bPreviousHolds || !bNextHolds || (removed.bLineEndBefore && nIndex == 0)) {
        m_sink.ShowMessage(MakeNotRestoredMessage(removed).c_str());
        bListStale = true;
        return false;
    }
    std::size_t nAt = strContent.size();
    ProjectRecord neighbour;
    if (removed.bLineEndBefore && FindRecord(strContent, nIndex - 1, neighbour)) {
        nAt = neighbour.time.nEnd;
    } else if (!removed.bLineEndBefore && FindRecord(strContent, nIndex, neighbour)) {
        nAt = neighbour.name.nBegin;
    }
    strContent.insert(nAt, removed.strRemoved);
    return SaveContent(strContent);
}
