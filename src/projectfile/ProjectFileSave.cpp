// Saving a changed content into the project file itself, with a journal beside it, so that a
// crash at any moment leaves the old content or the new one once the program has started again;
// and the clean-up at start-up.
#include "ProjectFile.h"

#include "FileSystem.h"
#include "ProjectFileJournal.h"

#include <algorithm>

namespace {

std::size_t CommonPrefixLength(const std::string& strA, const std::string& strB) {
    const std::size_t nMost = std::min(strA.size(), strB.size());
    std::size_t n = 0;
    while (n < nMost && strA[n] == strB[n]) {
        ++n;
    }
    return n;
}

} // namespace

// The file is changed where it is, so links, permissions, owner and attributes stay. First what
// the change overwrites (the old bytes from the first one that differs to the old end) goes to
// the journal, flushed; then the new bytes and the new length go into the file, flushed and
// closed; removing the journal makes the change final. A failure on the way is rolled back at
// once and reported. A journal that a crash left is rolled back first; the content given was
// then read from a file cut short, so it is not saved: the next try reads the old content.
bool CProjectFile::SaveContent(const std::string& strContent) const {
    bool bRolledBack = false;
    bool bMissing = false;
    IFileSystem::FileHandle hFile = 0;
    if (!RollBackJournal(bRolledBack) || bRolledBack ||
        !m_fs.OpenForUpdate(m_strPath, hFile, bMissing)) {
        m_sink.ShowMessage(kMsgErrorWriting);
        return false;
    }
    std::string strOld;
    const bool bRead = ReadOpenFile(hFile, strOld);
    bool bJournalWritten = false;
    bool bOk = bRead && ChangeInPlace(hFile, strOld, strContent, bJournalWritten);
    bOk = m_fs.Close(hFile) && bOk;
    if (bJournalWritten) {
        bOk = bOk && m_fs.Remove(MakeJournalPath(m_strPath));
        if (!bOk) {
            RollBackJournal(bRolledBack);
        }
    }
    if (!bOk) {
        m_sink.ShowMessage(bRead ? kMsgErrorWriting : kMsgErrorReading);
    }
    return bOk;
}

// Through the open handle, which keeps other writers out, so the journal holds exactly what the
// file holds.
bool CProjectFile::ReadOpenFile(IFileSystem::FileHandle hFile, std::string& strContent) const {
    std::uint64_t nSize = 0;
    return m_fs.GetSize(hFile, nSize) && IsReadableSize(nSize) &&
           m_fs.ReadAt(hFile, 0, static_cast<std::size_t>(nSize), strContent) &&
           strContent.size() == nSize;
}

// Only the bytes from the first one that differs are journalled and written: an append changes
// only the end, so its journal holds no old bytes at all.
bool CProjectFile::ChangeInPlace(IFileSystem::FileHandle hFile, const std::string& strOld,
                                 const std::string& strContent, bool& bJournalWritten) const {
    const std::size_t nOffset = CommonPrefixLength(strOld, strContent);
    if (nOffset == strOld.size() && nOffset == strContent.size()) {
        return true;
    }
    bJournalWritten = WriteJournal(strOld, nOffset);
    return bJournalWritten &&
           m_fs.WriteAt(hFile, nOffset, strContent.data() + nOffset, strContent.size() - nOffset) &&
           m_fs.SetLength(hFile, strContent.size()) && m_fs.Flush(hFile);
}

// Written whole and flushed, or removed again: the file is touched only after this succeeded.
bool CProjectFile::WriteJournal(const std::string& strOld, std::size_t nOffset) const {
    const std::string strPath = MakeJournalPath(m_strPath);
    const std::string strHead = MakeJournalHead(strOld.size(), nOffset);
    const char* pTail = strOld.data() + nOffset;
    const std::size_t nTail = strOld.size() - nOffset;
    const std::string strTrail = MakeJournalTrail(strHead, pTail, nTail);
    IFileSystem::FileHandle hJournal = 0;
    if (!m_fs.CreateNew(strPath, true, hJournal)) {
        return false;
    }
    bool bOk = m_fs.Write(hJournal, strHead.data(), strHead.size()) &&
               (nTail == 0 || m_fs.Write(hJournal, pTail, nTail)) &&
               m_fs.Write(hJournal, strTrail.data(), strTrail.size()) && m_fs.Flush(hJournal);
    bOk = m_fs.Close(hJournal) && bOk;
    if (!bOk) {
        m_fs.Remove(strPath);
    }
    return bOk;
}

bool CProjectFile::RollBackJournal() const {
    bool bRolledBack = false;
    return RollBackJournal(bRolledBack);
}

// A journal too large to be one of ours is damaged, like one cut short. Without a path (the
// program's own name held no folder) there is no journal either, and nothing to change.
bool CProjectFile::RollBackJournal(bool& bRolledBack) const {
    bRolledBack = false;
    const std::string strPath = MakeJournalPath(m_strPath);
    if (m_strPath.empty() || !m_fs.PathExists(strPath)) {
        return true;
    }
    const std::uint64_t nMaxSize = MaxJournalSize(kMaxReadableSize);
    std::uint64_t nSize = 0;
    std::string strJournal;
    if (!m_fs.ProbeSize(strPath, nSize) ||
        (nSize <= nMaxSize && !m_fs.ReadAll(strPath, strJournal, nMaxSize))) {
        return false;
    }
    return RollBackFrom(strJournal, bRolledBack) && m_fs.Remove(strPath);
}

// A journal cut short was being written while the file was still untouched: it is only
// removed. A complete one puts back the old bytes and the old length; doing it twice (a crash
// during a rollback) gives the same.
bool CProjectFile::RollBackFrom(const std::string& strJournal, bool& bRolledBack) const {
    JournalEntry entry;
    if (!ParseJournal(strJournal, entry)) {
        return true;
    }
    bool bMissing = false;
    IFileSystem::FileHandle hFile = 0;
    if (!m_fs.OpenForUpdate(m_strPath, hFile, bMissing)) {
        return false;
    }
    const std::size_t nTail = static_cast<std::size_t>(entry.nOldLength - entry.nOffset);
    bool bOk = m_fs.WriteAt(hFile, entry.nOffset, strJournal.data() + entry.nTailAt, nTail) &&
               m_fs.SetLength(hFile, entry.nOldLength) && m_fs.Flush(hFile);
    bOk = m_fs.Close(hFile) && bOk;
    bRolledBack = bOk;
    return bOk;
}

void CProjectFile::RecoverAfterCrash() const {
    RollBackJournal();
    RemoveLeftoverTempFiles();
}

// Older versions saved through a temporary file renamed over the project file; a save cut
// short left it behind. Where a rename over a file is not atomic (FAT, exFAT) the temporary
// file may hold the only copy of the data, so nothing is removed unless the project file
// exists and reads. Only those temporary names are touched, and the caller holds the
// single-instance lock.
void CProjectFile::RemoveLeftoverTempFiles() const {
    const std::size_t nSeparator = m_strPath.find_last_of("\\/");
    if (nSeparator == std::string::npos) {
        return;
    }
    const std::string strFolder = m_strPath.substr(0, nSeparator + 1);
    std::vector<std::string> leftovers;
    for (const std::string& strName : m_fs.ListFolder(strFolder)) {
        if (IsTempFileName(m_strPath, strName)) {
            leftovers.push_back(strFolder + strName);
        }
    }
    std::string strContent;
    if (leftovers.empty() || !m_fs.ReadAll(m_strPath, strContent, kMaxReadableSize)) {
        return;
    }
    for (const std::string& strLeftover : leftovers) {
        m_fs.Remove(strLeftover);
    }
}
