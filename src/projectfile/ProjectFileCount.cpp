// The project file's side of a count: finding the counted record and adding the time counted
// to the total the file holds at that moment.
#include "ProjectFile.h"

#include "ProjectFileFormat.h"

#include <algorithm>

namespace {

// Enough for a name line and a time line as the program writes them, and many typed by hand.
const std::size_t kNearReadSize = 512;

} // namespace

// The record of that name and occurrence, by the lists' scan of the whole content.
bool CProjectFile::FindCounted(const std::string& strContent, CountedRecord& record,
                               ProjectRecord& found) const {
    int nIndex = 0;
    int nSeen = 0;
    for (const ProjectRecord& candidate : ScanRecords(strContent)) {
        if (HasName(strContent, candidate, record.strName) && nSeen++ == record.nOccurrence) {
            found = candidate;
            record.nIndex = nIndex;
            record.nNameAt = candidate.name.nBegin;
            return true;
        }
        ++nIndex;
    }
    return false;
}

// While nothing has changed the file's size since the last save, the record is checked where
// it was (a few hundred bytes: its name line, right after a line end, and its time line);
// otherwise, or when it is not there, the whole file is scanned for it. strContent then holds
// the bytes read from nBase on.
bool CProjectFile::LocateCounted(IFileSystem::FileHandle hFile, std::uint64_t nSize,
                                 CountedRecord& record, std::string& strContent,
                                 std::uint64_t& nBase, ProjectRecord& found) const {
    if (record.nFileSize == nSize && record.nNameAt < nSize) {
        const std::uint64_t nFrom = record.nNameAt > 0 ? record.nNameAt - 1 : 0;
        std::string strNear;
        if (m_fs.ReadAt(hFile, nFrom, kNearReadSize, strNear) && !strNear.empty() &&
            (record.nNameAt == 0 || strNear[0] == '\n')) {
            strContent = strNear.substr(record.nNameAt - nFrom);
            CLineReader reader(strContent);
            found.name = reader.ReadLine();
            found.time = reader.ReadLine();
            const bool bComplete = found.time.nNext > found.time.nEnd ||
                                   nFrom + strNear.size() == nSize;
            nBase = record.nNameAt;
            if (bComplete && HasName(strContent, found, record.strName))
                return true;
        }
    }
    nBase = 0;
    if (!m_fs.ReadAt(hFile, 0, static_cast<std::size_t>(nSize), strContent)) {
        m_sink.ShowMessage(kMsgErrorReading);
        return false;
    }
    if (!FindCounted(strContent, record, found)) {
        m_sink.ShowMessage(MakeProjectNotFoundMessage(record.strName).c_str());
        return false;
    }
    return true;
}

bool CProjectFile::ReadCountedTotal(CountedRecord& record, std::int64_t& nTotal,
                                    bool& bGone) const {
    bGone = false;
    if (GetState() == ProjectFileState::Missing) {
        m_sink.ShowMessage(kMsgErrorReading);
        return false;
    }
    std::string strContent;
    ProjectRecord found;
    if (!ReadContent(strContent)) {
        return false;
    }
    if (!FindCounted(strContent, record, found)) {
        m_sink.ShowMessage(kMsgProjectGone);
        bGone = true;
        return false;
    }
    nTotal = ParseTotalSeconds(PieceText(strContent, found.time));
    record.nFileSize = strContent.size();
    return true;
}

// A time line of nine bytes gets the new nine in place; a line typed in another length that
// still reads as a total is replaced whole, which changes the file's length and so goes
// through the saving of the whole content (bReplaceWhole, strContent then the new content).
bool CProjectFile::WriteTotalLine(IFileSystem::FileHandle hFile, std::string& strContent,
                                  const ProjectRecord& found, std::uint64_t nBase,
                                  std::uint64_t nSize, const std::string& strTotal,
                                  bool& bReplaceWhole) const {
    const LinePiece& time = found.time;
    if (strTotal.size() == time.nEnd - time.nBegin) {
        return m_fs.WriteAt(hFile, nBase + time.nBegin, strTotal.data(), strTotal.size());
    }
    if (nBase != 0 || strContent.size() != nSize) {
        std::string strWhole;
        if (!m_fs.ReadAt(hFile, 0, static_cast<std::size_t>(nSize), strWhole)) {
            return false;
        }
        strContent.swap(strWhole);
    }
    strContent.replace(nBase + time.nBegin, time.nEnd - time.nBegin, strTotal);
    bReplaceWhole = true;
    return true;
}

// Up to 999:59:59 the time is added and what does not fit is dropped; a total typed above it
// is kept as it stands and nothing is written over it. Time taken back (away time the user did
// not keep) never takes a total below zero.
bool CProjectFile::UpdateOpenTotal(IFileSystem::FileHandle hFile, CountedRecord& record,
                                   std::int64_t nSeconds, bool bFlush, TotalUpdate& update,
                                   std::string& strReplaced) const {
    std::uint64_t nSize = 0;
    if (!m_fs.GetSize(hFile, nSize) || !IsReadableSize(nSize)) {
        m_sink.ShowMessage(kMsgErrorReading);
        return false;
    }
    std::string strContent;
    std::uint64_t nBase = 0;
    ProjectRecord found;
    if (!LocateCounted(hFile, nSize, record, strContent, nBase, found)) {
        return false;
    }
    const std::string strLine = PieceText(strContent, found.time);
    if (!IsReadableAsTotal(strLine)) {
        m_sink.ShowMessage(kMsgErrorWriting);
        return false;
    }
    const std::int64_t nBefore = ParseTotalSeconds(strLine);
    const std::int64_t nWanted = std::max<std::int64_t>(0, nBefore + nSeconds);
    update.bCapped = nSeconds > 0 && nWanted > kMaxTotalSeconds;
    update.nTotal = nBefore > kMaxTotalSeconds ? nBefore : std::min(nWanted, kMaxTotalSeconds);
    bool bReplaceWhole = false;
    const bool bOk = update.nTotal == nBefore && strLine.size() == 9
                         ? true
                         : WriteTotalLine(hFile, strContent, found, nBase, nSize,
                                          FormatTotal(update.nTotal), bReplaceWhole);
    if (!bOk) {
        m_sink.ShowMessage(kMsgErrorWriting);
        return false;
    }
    // Once the bytes are written every reader sees the new total: a flush or a close that fails
    // afterwards cannot take them back, and calling the save failed would add its time twice.
    if (bFlush && !bReplaceWhole) {
        m_fs.Flush(hFile);
    }
    record.nFileSize = bReplaceWhole ? 0 : nSize;
    if (bReplaceWhole) {
        strReplaced.swap(strContent);
    }
    return true;
}

bool CProjectFile::AddToProjectTotal(CountedRecord& record, std::int64_t nSeconds, bool bFlush,
                                     TotalUpdate& update) const {
    // A change a crash cut short, which the start could not roll back, is rolled back first:
    // a total written into the half-changed file would be undone by that rollback later.
    if (!RollBackJournal()) {
        m_sink.ShowMessage(kMsgErrorWriting);
        return false;
    }
    IFileSystem::FileHandle hFile = 0;
    bool bMissing = true;
    if (m_strPath.empty() || !m_fs.OpenForUpdate(m_strPath, hFile, bMissing)) {
        m_sink.ShowMessage(bMissing ? kMsgErrorReading : kMsgErrorWriting);
        return false;
    }
    std::string strReplaced;
    const bool bOk = UpdateOpenTotal(hFile, record, nSeconds, bFlush, update, strReplaced);
    m_fs.Close(hFile);
    return bOk && (strReplaced.empty() || SaveContent(strReplaced));
}
