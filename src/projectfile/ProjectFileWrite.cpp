// The operations that change the project file. Each builds the whole new content in memory and
// hands it to SaveContent, the one routine that writes the file.
#include "ProjectFile.h"

#include "FileSystem.h"
#include "ProjectFileFormat.h"

namespace {

const char kLineEnd[] = "\r\n";
const char kNewTotal[] = "000:00:00";
const std::size_t kMaxNameLength = 30;

bool IsValidName(const std::string& strName) {
    return !strName.empty() && strName.size() <= kMaxNameLength &&
           strName.find_first_of("\r\n") == std::string::npos;
}

} // namespace

// The new content goes to a temporary file beside the project file, is flushed to the disk
// and then renamed over the project file in one step. A crash or a failed call at any point
// leaves the project file with its old content or the new one, never a mix, and any failure
// removes the temporary file and is reported.
bool CProjectFile::SaveContent(const std::string& strContent) const {
    const std::string strTempPath = MakeTempFilePath(m_strPath);
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

// The first record of an empty file is name, CR LF, time; every later one begins with CR LF,
// so the file never ends with a line end. An empty file is read as well, so that whatever was
// written to it since the test is kept. Names that could not be read back as one line are
// refused; the create dialog checks names before it calls.
bool CProjectFile::AppendProject(const std::string& strName) const {
    const ProjectFileState state = GetState();
    if (state == ProjectFileState::Missing) {
        m_sink.ShowMessage(kMsgErrorReading);
        return false;
    }
    std::string strContent;
    if (!IsValidName(strName) || !ReadContent(strContent)) {
        return false;
    }
    if (!strContent.empty()) {
        strContent += kLineEnd;
    }
    strContent += strName + kLineEnd + kNewTotal;
    return SaveContent(strContent);
}

// Removes the record that the lists show at the index, and nothing else: its bytes are found
// with the lists' own scan, so hand-edited line ends cannot shift it onto another record.
bool CProjectFile::DeleteProject(int nIndex) const {
    const ProjectFileState state = GetState();
    if (state == ProjectFileState::Missing) {
        m_sink.ShowMessage(kMsgErrorReading);
        return false;
    }
    std::string strContent;
    if (state == ProjectFileState::Empty || nIndex < 0 || !ReadContent(strContent)) {
        return false;
    }
    const std::vector<ProjectRecord> records = ScanRecords(strContent);
    if (static_cast<std::size_t>(nIndex) >= records.size()) {
        return false;
    }
    const std::pair<std::size_t, std::size_t> span = GetRecordSpan(strContent, records[nIndex]);
    strContent.erase(span.first, span.second - span.first);
    return SaveContent(strContent);
}

// Overwrites the nine bytes of the record's time line, so the file keeps its length. Only a
// well-formed total over a well-formed time line is written: anything else would break the
// pairing of name and time lines for every later record.
bool CProjectFile::WriteProjectTotal(int nIndex, const std::string& strTotal) const {
    const ProjectFileState state = GetState();
    if (state == ProjectFileState::Missing) {
        m_sink.ShowMessage(kMsgErrorReading);
        return false;
    }
    std::string strContent;
    if (state == ProjectFileState::Empty || nIndex < 0 ||
        !IsTimeText(strTotal.data(), strTotal.size()) || !ReadContent(strContent)) {
        return false;
    }
    const std::vector<ProjectRecord> records = ScanRecords(strContent);
    if (static_cast<std::size_t>(nIndex) >= records.size() ||
        !IsWholeTimeLine(strContent, records[nIndex].time)) {
        return false;
    }
    strContent.replace(records[nIndex].time.nBegin, strTotal.size(), strTotal);
    return SaveContent(strContent);
}
