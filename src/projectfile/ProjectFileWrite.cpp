// The operations that change the project file. Each builds the whole new content in memory and
// hands it to SaveContent (ProjectFileSave.cpp), the one routine that writes it.
#include "ProjectFile.h"

#include "FileSystem.h"
#include "ProjectFileFormat.h"

namespace {

const char kLineEnd[] = "\r\n";
const char kNewTotal[] = "000:00:00";

// What taking the delete back needs: the bytes it removes, the record's lines and its
// neighbours' names.
CRemovedRecord MakeRemovedRecord(const std::string& strContent, const ProjectRecord& record,
                                 std::pair<std::size_t, std::size_t> span, int nIndex,
                                 const std::vector<std::string>& shown) {
    CRemovedRecord removed;
    removed.nIndex = nIndex;
    removed.strRemoved = strContent.substr(span.first, span.second - span.first);
    removed.bLineEndBefore = span.first < record.name.nBegin;
    removed.strNameLine = PieceText(strContent, record.name);
    removed.strTimeLine = PieceText(strContent, record.time);
    const std::size_t nAt = static_cast<std::size_t>(nIndex);
    removed.strPrevious = nAt > 0 ? shown[nAt - 1] : std::string();
    removed.bHasNext = nAt + 1 < shown.size();
    removed.strNext = removed.bHasNext ? shown[nAt + 1] : std::string();
    return removed;
}

} // namespace

// The first record of an empty file is name, CR LF, time; every later one follows what
// GetAppendPrefix puts after the last record, so the new name is read as a name line and the
// file never ends with a line end: content that already ends with a line end (as most editors
// leave it) is followed directly, so no empty line becomes a phantom project. An empty file is
// read as well, so that whatever was written to it since the test is kept. Names that could not
// be read back as one line are refused; the create dialog checks names before it calls.
bool CProjectFile::AppendProject(const std::string& strName) const {
    const ProjectFileState state = GetState();
    if (state == ProjectFileState::Missing) {
        m_sink.ShowMessage(kMsgErrorReading);
        return false;
    }
    std::string strContent;
    if (!IsValidProjectName(strName) || !ReadContent(strContent)) {
        return false;
    }
    strContent += GetAppendPrefix(strContent) + strName + kLineEnd + kNewTotal;
    return SaveContent(strContent);
}

// Removes the record that the lists show at the index, and nothing else: its bytes are found
// with the lists' own scan, so hand-edited line ends cannot shift it onto another record. When
// another program has moved the records since the list was filled, the record at the index is
// not the one the user chose: nothing is deleted and the caller refills its list.
bool CProjectFile::DeleteProject(int nIndex, const std::string& strName, bool& bListStale,
                                 CRemovedRecord* pRemoved) const {
    bListStale = false;
    ProjectFileState state = ProjectFileState::Empty;
    std::string strContent;
    ProjectRecord record;
    if (!ReadForChange(strContent, state)) {
        return false;
    }
    if (state == ProjectFileState::Empty || nIndex < 0) {
        bListStale = state == ProjectFileState::Empty;
        return false;
    }
    if (!FindRecord(strContent, nIndex, record) || !HasName(strContent, record, strName)) {
        m_sink.ShowMessage(kMsgListChanged);
        bListStale = true;
        return false;
    }
    // A list of many projects is slow to fill: where the lists only lose the entry at the index
    // (every file this program wrote), they need not be read again.
    std::vector<std::string> shown = ShownNames(strContent);
    const std::pair<std::size_t, std::size_t> span = GetRecordSpan(strContent, record);
    if (pRemoved) {
        *pRemoved = MakeRemovedRecord(strContent, record, span, nIndex, shown);
    }
    shown.erase(shown.begin() + nIndex);
    strContent.erase(span.first, span.second - span.first);
    bListStale = ShownNames(strContent) != shown;
    return SaveContent(strContent);
}
