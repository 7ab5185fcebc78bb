// The operations that change the project file. Each builds the whole new content in memory and
// hands it to SaveContent, the one routine that writes the file.
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
    removed.bHasPrevious = nAt > 0;
    removed.strPrevious = nAt > 0 ? shown[nAt - 1] : std::string();
    removed.bHasNext = nAt + 1 < shown.size();
    removed.strNext = removed.bHasNext ? shown[nAt + 1] : std::string();
    return removed;
}

} // namespace

// The new content goes to a temporary file beside the project file, is flushed to the disk
// and then renamed over the project file in one step. A crash or a failed call at any point
// leaves the project file with its old content or the new one, never a mix, and any failure
// removes the temporary file and is reported. The temporary file's name is new for each save,
// so no file of the user's is touched; the replacement keeps the project file's attributes and
// is refused when the file is read-only.
bool CProjectFile::SaveContent(const std::string& strContent) const {
    static std::uint32_t s_nSaveNumber = 0;
    const std::string strTempPath =
        MakeTempFilePath(m_strPath, m_fs.GetProcessId(), ++s_nSaveNumber);
    IFileSystem::FileHandle hFile = 0;
    bool bOk = m_fs.CreateTemp(strTempPath, hFile);
    if (bOk) {
        bOk = m_fs.Write(hFile, strContent.data(), strContent.size()) && m_fs.Flush(hFile);
        bOk = m_fs.Close(hFile) && bOk;
    }
    if (bOk) {
        bOk = m_fs.ReplaceByRename(strTempPath, m_strPath);
    }
    if (!bOk) {
        m_fs.Remove(strTempPath);
        m_sink.ShowMessage(kMsgErrorWriting);
    }
    return bOk;
}

// A save cut short (the program killed, the power lost) leaves its temporary file beside the
// project file; the next start removes it. Only the saves' own temporary names are touched,
// and the caller holds the single-instance lock, so no other copy is saving at that moment.
void CProjectFile::RemoveLeftoverTempFiles() const {
    const std::size_t nSeparator = m_strPath.find_last_of("\\/");
    if (nSeparator == std::string::npos) {
        return;
    }
    const std::string strFolder = m_strPath.substr(0, nSeparator + 1);
    for (const std::string& strName : m_fs.ListFolder(strFolder)) {
        if (IsTempFileName(m_strPath, strName)) {
            m_fs.Remove(strFolder + strName);
        }
    }
}

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
    const ProjectFileState state = GetState();
    if (state == ProjectFileState::Missing) {
        m_sink.ShowMessage(kMsgErrorReading);
        return false;
    }
    std::string strContent;
    ProjectRecord record;
    if (state == ProjectFileState::Empty || nIndex < 0 || !ReadContent(strContent)) {
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
