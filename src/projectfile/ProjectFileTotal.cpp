// Saving a project's total: into the record that carries the project's name, in place where
// its time line is well formed, through the atomic save where the line's length changes.
#include "ProjectFile.h"

#include "FileSystem.h"
#include "ProjectFileFormat.h"

bool CProjectFile::HasName(const std::string& strContent, const ProjectRecord& record,
                           const std::string& strName) const {
    return ListText(strContent, record.name, m_pfnIsLeadByte) == strName;
}

// The index of the one record whose name the lists show as strName; -1 when there is none or
// more than one, since then no record can be told to be the counted project.
int CProjectFile::FindOnlyRecordNamed(const std::string& strContent, const std::string& strName,
                                      ProjectRecord& found) const {
    int nFound = -1;
    int nIndex = 0;
    for (const ProjectRecord& record : ScanRecords(strContent)) {
        if (HasName(strContent, record, strName)) {
            if (nFound >= 0) {
                return -1;
            }
            nFound = nIndex;
            found = record;
        }
        ++nIndex;
    }
    return nFound;
}

// A well-formed time line gets the nine bytes in place and flushed: no copy of the file is
// needed, its identity stays, and each digit lands where the old one stood. A line that the
// load reads as a total but in another form is replaced whole, which changes the file's length
// and so goes through the atomic save. Anything else is not a time line and is left alone.
bool CProjectFile::SaveTotalAt(std::string& strContent, const ProjectRecord& record,
                               const std::string& strTotal) const {
    const LinePiece& time = record.time;
    const std::size_t nLength = time.nEnd - time.nBegin;
    if (IsTimeText(strContent.data() + time.nBegin, nLength)) {
        if (!m_fs.OverwriteAt(m_strPath, time.nBegin, strTotal.data(), strTotal.size())) {
            m_sink.ShowMessage(kMsgErrorWriting);
            return false;
        }
        return true;
    }
    if (!IsReadableAsTotal(strContent.substr(time.nBegin, nLength))) {
        m_sink.ShowMessage(kMsgErrorWriting);
        return false;
    }
    strContent.replace(time.nBegin, nLength, strTotal);
    return SaveContent(strContent);
}

// The record is found by scanning only up to the index; only when it no longer carries the
// name (another program inserted or removed records) is the whole file searched for it. An
// emptied file, a missing name or a name held by several records is reported, and the caller
// keeps the count.
bool CProjectFile::WriteProjectTotal(int& nIndex, const std::string& strName,
                                     const std::string& strTotal) const {
    const ProjectFileState state = GetState();
    if (state == ProjectFileState::Missing) {
        m_sink.ShowMessage(kMsgErrorReading);
        return false;
    }
    if (!IsTimeText(strTotal.data(), strTotal.size())) {
        m_sink.ShowMessage(kMsgErrorWriting);
        return false;
    }
    // Usually the record is where the count began, and only the file up to it is read.
    std::string strContent;
    ProjectRecord record;
    bool bFound = false;
    if (!ReadThroughRecord(nIndex, strContent, record, bFound)) {
        return false;
    }
    if (bFound && HasName(strContent, record, strName) &&
        IsTimeText(strContent.data() + record.time.nBegin, record.time.nEnd - record.time.nBegin)) {
        return SaveTotalAt(strContent, record, strTotal);
    }
    // Otherwise the whole file: its line may be replaced whole, or the name searched for.
    if (!ReadContent(strContent)) {
        return false;
    }
    if (!FindRecord(strContent, nIndex, record) || !HasName(strContent, record, strName)) {
        const int nFound = FindOnlyRecordNamed(strContent, strName, record);
        if (nFound < 0) {
            m_sink.ShowMessage(MakeProjectNotFoundMessage(strName).c_str());
            return false;
        }
        nIndex = nFound;
    }
    return SaveTotalAt(strContent, record, strTotal);
}
