// Fuzz target over the project file: every input is a project file's content and one operation
// on it, run on a file system in memory that can fail any one call. The checks are phrased over
// the records as the lists show them, so they hold however the bytes are laid out:
// - reading never crashes, and the names and the overview rows tell of the same records;
// - a successful write changes only the time line of the record with the project's name, to
//   the total, and no other byte;
// - a successful delete removes exactly the record at the index, which carries the name the
//   list showed there; the others stay as they were, in order;
// - a successful append adds exactly one record at the end, the name with "000:00:00";
// - a delete after which the lists only lost its entry is taken back to the file's old bytes;
// - a failed operation changes no byte, creates no file and tells the user when a call failed;
// - no operation leaves a journal or an open handle behind, and the start's clean-up removes
//   an older version's temporary file when the project file reads, and no other file.
// A violation aborts, so libFuzzer keeps the input as a crash.
//
// Layout of an input (see tests/fuzz/corpus):
//   byte 0  bits 0-1 the operation: 0 read only, 1 write a total, 2 delete, 3 append;
//           bits 2-5 the file call to fail, 1 to 15 (0: none); bit 6 the project file is missing;
//           bit 7 a cut-short save left its temporary file, beside a user's own file
//   byte 1  bits 0-5 the project index: 0 to 59 as it is, 60 to 63 stand for -1 to -4;
//           bits 6-7 the project's name that a write or delete passes: 0 the name the lists
//           show at the index, 1 the one at the next index (another program moved the record),
//           2 the argument's bytes, 3 a name no record has
//   byte 2  bits 0-5 the length of the argument that follows; bit 6 the total is the
//           argument's bytes as they are, else a well-formed total made from them; bit 7 the
//           lists cut long names as in a double-byte code page (Shift JIS)
//   then the argument (the name to append, or the total's bytes), then the file's content.
#include "FuzzChecks.h"
#include "MemoryFileSystem.h"
#include "ProjectFile.h"
#include "ProjectFileFormat.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

const char kPath[] = "C:\\Quillet\\Projekte.dbu";
const char kUserFile[] = "C:\\Quillet\\~Projekte.tmp";

struct Input {
    int nOperation = 0;
    int nFailAt = 0;
    bool bMissing = false;
    bool bLeftover = false;
    int nIndex = 0;
    int nNameSource = 0;
    bool bDoubleByte = false;
    std::string strArgument;
    bool bRawTotal = false;
    std::string strContent;
};

bool Parse(const std::uint8_t* pData, std::size_t nSize, Input& input) {
    if (nSize < 3) {
        return false;
    }
    input.nOperation = pData[0] & 3;
    input.nFailAt = (pData[0] >> 2) & 15;
    input.bMissing = (pData[0] & 0x40) != 0;
    input.bLeftover = (pData[0] & 0x80) != 0;
    input.nIndex = (pData[1] & 0x3F) < 60 ? (pData[1] & 0x3F) : 59 - (pData[1] & 0x3F);
    input.nNameSource = pData[1] >> 6;
    input.bRawTotal = (pData[2] & 0x40) != 0;
    input.bDoubleByte = (pData[2] & 0x80) != 0;
    std::size_t nArgument = pData[2] & 0x3F;
    nArgument = nArgument < nSize - 3 ? nArgument : nSize - 3;
    const char* pText = reinterpret_cast<const char*>(pData) + 3;
    input.strArgument.assign(pText, nArgument);
    input.strContent.assign(pText + nArgument, nSize - 3 - nArgument);
    return true;
}

// A total of the counter's form "%03d:%02d:%02d", up to 999:59:59, from the argument's bytes.
std::string MakeTotal(const std::string& strArgument) {
    std::uint32_t nSeconds = 0;
    for (unsigned char c : strArgument) {
        nSeconds = nSeconds * 131 + c;
    }
    nSeconds %= 1000 * 3600;
    char szTotal[16];
    std::snprintf(szTotal, sizeof szTotal, "%03u:%02u:%02u", nSeconds / 3600, nSeconds / 60 % 60,
                  nSeconds % 60);
    return szTotal;
}

bool IsShiftJisLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// The project's name that a write or delete passes along with the index.
std::string ChooseName(const Input& input, const CListView& before) {
    const auto shownAt = [&](int nIndex) {
        const bool bShown = nIndex >= 0 && static_cast<std::size_t>(nIndex) < before.shown.size();
        return bShown ? before.shown[nIndex].strName : std::string();
    };
    switch (input.nNameSource) {
    case 0:
        return shownAt(input.nIndex);
    case 1:
        return shownAt(input.nIndex + 1);
    case 2:
        return input.strArgument;
    default:
        return shownAt(input.nIndex) + "?";
    }
}

// Runs the operation with the chosen call failing; returns its result. A write tells in
// nWritten where it found the project, a delete in bListStale whether the lists must be read
// again.
bool RunOperation(const FuzzOperation& operation, LeadByteTest pfnIsLeadByte, int nFailAt,
                  CMemoryFileSystem& fs, CFuzzSink& sink, int& nWritten, bool& bListStale,
                  CRemovedRecord& removed) {
    const CProjectFile file(kPath, fs, sink, pfnIsLeadByte);
    fs.m_nCalls = 0;
    fs.m_bFailedFlushOrClose = false;
    fs.m_nFailAt = nFailAt;
    bool bResult = false;
    bListStale = false;
    nWritten = operation.nIndex;
    switch (operation.nOperation) {
    case 1: {
        CountedRecord record;
        record.strName = operation.strName;
        record.nOccurrence = operation.nOccurrence;
        TotalUpdate update;
        bResult = file.AddToProjectTotal(record, ParseTotalSeconds(operation.strTotal),
                                         nFailAt % 2 == 0, update);
        nWritten = record.nIndex;
        break;
    }
    case 2:
        bResult = file.DeleteProject(operation.nIndex, operation.strName, bListStale, &removed);
        break;
    case 3:
        bResult = file.AppendProject(operation.strName);
        break;
    default:
        break;
    }
    fs.m_nFailAt = 0;
    return bResult;
}

// The start's clean-up takes the temporary file that an older version's cut-short save left, but
// only while the project file reads (it may be the only copy), and leaves everything else.
void CheckLeftoverRemoved(CMemoryFileSystem& fs, const std::string& strContent) {
    CFuzzSink sink;
    auto expected = fs.m_files;
    const std::string strLeftover = MakeTempFilePath(kPath, 4321, 7);
    fs.m_files[strLeftover] = strContent.substr(0, strContent.size() / 2);
    fs.m_files[kUserFile] = "mine";
    expected[kUserFile] = "mine";
    if (!fs.m_files.count(kPath)) {
        expected[strLeftover] = fs.m_files[strLeftover];
    }
    CProjectFile(kPath, fs, sink).RecoverAfterCrash();
    FUZZ_CHECK(fs.m_files == expected && sink.m_messages.empty());
    fs.m_files.erase(kUserFile);
    fs.m_files.erase(strLeftover);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    Input input;
    if (!Parse(pData, nSize, input)) {
        return 0;
    }
    const LeadByteTest pfnIsLeadByte = input.bDoubleByte ? IsShiftJisLeadByte : nullptr;
    CMemoryFileSystem fs;
    if (!input.bMissing) {
        fs.m_files[kPath] = input.strContent;
    }
    if (input.bLeftover) {
        CheckLeftoverRemoved(fs, input.strContent);
    }
    const auto filesBefore = fs.m_files;
    const CListView before = LookAtLists(fs, kPath, input.nIndex, pfnIsLeadByte);
    FUZZ_CHECK(fs.m_files == filesBefore && fs.m_open.empty());
    if (input.nOperation == 0) {
        return 0;
    }

    FuzzOperation operation;
    operation.nOperation = input.nOperation;
    operation.nIndex = input.nIndex;
    operation.strName = input.nOperation == 3 ? input.strArgument : ChooseName(input, before);
    operation.strTotal = input.bRawTotal ? input.strArgument : MakeTotal(input.strArgument);
    for (int i = 0; i < input.nIndex && i < static_cast<int>(before.shown.size()); ++i) {
        operation.nOccurrence += before.shown[i].strName == operation.strName ? 1 : 0;
    }
    CFuzzSink sink;
    int nWritten = 0;
    bool bListStale = false;
    CRemovedRecord removed;
    const bool bResult = RunOperation(operation, pfnIsLeadByte, input.nFailAt, fs, sink, nWritten,
                                      bListStale, removed);
    FUZZ_CHECK(fs.m_open.empty());
    // A save of a total counts as done once its bytes are written: a flush or close that fails
    // afterwards cannot take them back.
    if (fs.m_nFailedCall != 0 && !(bResult && fs.m_bFailedFlushOrClose)) {
        FUZZ_CHECK(!bResult && !sink.m_messages.empty());
    }
    if (!bResult) {
        FUZZ_CHECK(fs.m_files == filesBefore);
        CheckFailureWasDue(operation, before, fs.m_nFailedCall != 0);
        return 0;
    }
    FUZZ_CHECK(sink.m_messages.empty());
    FUZZ_CHECK(fs.m_files.size() == 1 && fs.m_files.count(kPath));
    const CListView after = LookAtLists(fs, kPath, input.nIndex, pfnIsLeadByte);
    switch (input.nOperation) {
    case 1:
        CheckWrite(before, after, operation, nWritten, filesBefore.at(kPath), fs.m_files[kPath]);
        break;
    case 2:
        CheckDelete(before, after, operation, bListStale);
        if (!bListStale) {
            bool bUndoStale = true;
            FUZZ_CHECK(
                CProjectFile(kPath, fs, sink, pfnIsLeadByte).InsertProjectAt(removed, bUndoStale));
            FUZZ_CHECK(!bUndoStale && sink.m_messages.empty() && fs.m_files == filesBefore);
        }
        break;
    default:
        CheckAppend(before, after, operation.strName);
        break;
    }
    return 0;
}
