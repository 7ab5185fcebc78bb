// Failure injection: every file call an operation makes is failed in turn, the way SQLite
// tests its commits, and after each failure the file must hold its old or its new content,
// no journal may be left and the user must have been told.
#include <algorithm>
#include "ProjectFileFormat.h"
#include "projectfile_faulty_fs.h"
#include "projectfile_support.h"

namespace {

// A change in place: the file's content read again through its open handle, the journal
// written, the new bytes and length written, the journal removed.
const std::set<std::string> kAtomicSave = {"probe", "read",  "open",  "size",   "create",
                                           "write", "flush", "close", "length", "remove"};

bool AddTotalOf(const CProjectFile& f, const char* pszName, std::int64_t nSeconds,
                CountedRecord* pRecord = nullptr) {
    CountedRecord record;
    record.strName = pszName;
    TotalUpdate update;
    return f.AddToProjectTotal(pRecord ? *pRecord : record, nSeconds, true, update);
}

} // namespace

TEST_F(ProjectFileTest, EveryFailedCallOfAChangeLeavesOldOrNewFileAndTellsTheUser) {
    const std::string strHandEdited = "Alpha\r\n1:2:3\r\nBeta\r\n000:00:00";
    const Change changes[] = {
        {"append", [](const CProjectFile& f) { return f.AppendProject("Gamma"); }, kAlphaBeta,
         kAlphaBeta + "\r\nGamma\r\n000:00:00", kAtomicSave},
        {"total",
         [](const CProjectFile& f) { return AddTotalOf(f, "Beta", 4 * 3600 + 5 * 60 + 6); },
         kAlphaBeta,
         kAlphaBeta.substr(0, 24) + "004:05:06",
         {"open", "size", "read", "write", "flush", "close"}},
        {"hand-edited total",
         [](const CProjectFile& f) { return AddTotalOf(f, "Alpha", 4 * 3600 + 5 * 60 + 6 - 3723); },
         strHandEdited,
         "Alpha\r\n004:05:06\r\nBeta\r\n000:00:00",
         {"open", "size", "read", "close", "create", "write", "flush", "length", "remove"}},
        {"delete",
         [](const CProjectFile& f) {
             bool bListStale = false;
             return f.DeleteProject(0, "Alpha", bListStale);
         },
         kAlphaBeta, kAlphaBeta.substr(18), kAtomicSave},
        {"total correction",
         [](const CProjectFile& f) {
             bool bListStale = false;
             return f.SetProjectTotal(1, "Beta", "004:05:06", bListStale);
         },
         kAlphaBeta, kAlphaBeta.substr(0, 24) + "004:05:06", kAtomicSave},
        {"rename",
         [](const CProjectFile& f) {
             bool bListStale = false;
             return f.RenameProject(0, "Alpha", "Gamma", bListStale);
         },
         kAlphaBeta, "Gamma" + kAlphaBeta.substr(5), kAtomicSave},
        {"delete taken back",
         [](const CProjectFile& f) {
             CRemovedRecord removed;
             bool bListStale = false;
             removed.nIndex = 0;
             removed.strRemoved = kAlphaBeta.substr(0, 18);
             removed.bHasNext = true;
             removed.strNext = "Beta";
             return f.InsertProjectAt(removed, bListStale);
         },
         kAlphaBeta.substr(18), kAlphaBeta, kAtomicSave},
    };
    const std::set<std::string> readCalls = {"probe", "read", "size"};
    for (const Change& change : changes) {
        std::set<std::string> failedCalls;
        bool bSucceeded = false;
        for (int nFailAt = 1; nFailAt < 20 && !bSucceeded; ++nFailAt) {
            SCOPED_TRACE(std::string(change.pszName) + " failing call " + std::to_string(nFailAt));
            WriteFileBytes(change.strBefore);
            m_sink.m_messages.clear();
            CFaultyFileSystem fs(GetPlatformFileSystem(), nFailAt);
            const bool bResult = change.run(File(fs));
            const std::string strAfter = ReadFileBytes();
            EXPECT_TRUE(strAfter == change.strBefore || strAfter == change.strAfter) << strAfter;
            EXPECT_EQ(FolderEntries(), Strings({"Projekte.dbu"}));
            bSucceeded = fs.m_strFailed.empty();
            if (bSucceeded) {
                EXPECT_TRUE(bResult);
                EXPECT_EQ(strAfter, change.strAfter);
                EXPECT_TRUE(m_sink.m_messages.empty());
                continue;
            }
            failedCalls.insert(fs.m_strFailed);
            // A flush or close after the bytes are written cannot undo them: that save is done,
            // and counting it as failed would add its time a second time.
            if ((fs.m_strFailed == "close" || fs.m_strFailed == "flush") && bResult &&
                strAfter == change.strAfter) {
                EXPECT_TRUE(m_sink.m_messages.empty());
                continue;
            }
            EXPECT_FALSE(bResult);
            const char* pszExpected =
                readCalls.count(fs.m_strFailed) ? kMsgErrorReading : kMsgErrorWriting;
            EXPECT_EQ(m_sink.m_messages, Strings({pszExpected}));
        }
        EXPECT_TRUE(bSucceeded) << change.pszName;
        EXPECT_EQ(failedCalls, change.calls) << change.pszName;
    }
}

TEST_F(ProjectFileTest, FailedReadsAreReportedAndFillNothing) {
    WriteFileBytes(kAlphaBeta);
    for (int nFailAt : {1, 2}) {
        m_sink.m_messages.clear();
        CFaultyFileSystem fs(GetPlatformFileSystem(), nFailAt);
        CFakeList names, rows;
        names.m_entries = {"old"};
        File(fs).LoadProjectNames(names);
        CFaultyFileSystem fs2(GetPlatformFileSystem(), nFailAt);
        File(fs2).LoadOverviewRows(rows);
        CFaultyFileSystem fs3(GetPlatformFileSystem(), nFailAt);
        int nHours = 7, nMinutes = 8, nSeconds = 9;
        EXPECT_FALSE(File(fs3).ReadProjectTotal(0, nHours, nMinutes, nSeconds));
        EXPECT_TRUE(names.m_entries.empty());
        EXPECT_TRUE(rows.m_entries.empty());
        EXPECT_EQ(std::vector<int>({nHours, nMinutes, nSeconds}), std::vector<int>({7, 8, 9}));
        EXPECT_EQ(m_sink.m_messages, Strings(3, kMsgErrorReading)) << nFailAt;
    }
    EXPECT_EQ(ReadFileBytes(), kAlphaBeta);
}

// A file too large to read is never taken for empty: it is reported and nothing is written.
TEST_F(ProjectFileTest, AFileTooLargeToReadIsReportedAndNeverWritten) {
    class CHugeFileSystem : public CFaultyFileSystem {
    public:
        using CFaultyFileSystem::CFaultyFileSystem;
        bool ProbeSize(const std::string&, std::uint64_t& nSize) override {
            nSize = std::uint64_t(4) << 30;
            return true;
        }
        bool GetSize(FileHandle, std::uint64_t& nSize) override { return ProbeSize("", nSize); }
    };
    WriteFileBytes(kAlphaBeta);
    CHugeFileSystem fs(GetPlatformFileSystem(), 0);
    const CProjectFile file = File(fs);
    CFakeList names;
    file.LoadProjectNames(names);
    EXPECT_FALSE(file.AppendProject("Gamma"));
    bool bListStale = false;
    EXPECT_FALSE(file.DeleteProject(0, "Alpha", bListStale));
    EXPECT_FALSE(AddTotalOf(file, "Alpha", 1));
    EXPECT_NE(file.GetState(), ProjectFileState::Empty);
    EXPECT_TRUE(names.m_entries.empty());
    EXPECT_EQ(m_sink.m_messages, Strings(4, kMsgErrorReading));
    EXPECT_EQ(ReadFileBytes(), kAlphaBeta);
    EXPECT_FALSE(IsReadableSize(std::uint64_t(4) << 30));
    EXPECT_TRUE(IsReadableSize(100000u * 43u));
}

// Loading an early project's total reads the file only up to that record; a save reads the
// whole file once to find its record and afterwards only the few hundred bytes where it was,
// so a checkpoint costs the same wherever the record sits in a file of any size.
TEST_F(ProjectFileTest, ASaveCostsTheSameWhereverItsRecordSits) {
    class CHeadOnlyFileSystem : public CFaultyFileSystem {
    public:
        using CFaultyFileSystem::CFaultyFileSystem;
        bool ReadAll(const std::string&, std::string&, std::uint64_t) override { return false; }
        std::size_t m_nMostRead = 0;
        bool ReadHead(const std::string& strPath, std::string& strContent,
                      std::size_t nBytes) override {
            const bool bOk = CFaultyFileSystem::ReadHead(strPath, strContent, nBytes);
            m_nMostRead = std::max(m_nMostRead, strContent.size());
            return bOk;
        }
    };
    std::string strBytes = "Alpha\r\n001:02:03";
    for (int i = 0; i < 20000; ++i) {
        strBytes += "\r\nProject " + std::to_string(i) + "\r\n000:00:00";
    }
    WriteFileBytes(strBytes);
    CHeadOnlyFileSystem fs(GetPlatformFileSystem(), 0);
    int nHours = 0, nMinutes = 0, nSeconds = 0;
    EXPECT_TRUE(File(fs).ReadProjectTotal(0, nHours, nMinutes, nSeconds));
    EXPECT_EQ(std::vector<int>({nHours, nMinutes, nSeconds}), std::vector<int>({1, 2, 3}));
    EXPECT_LT(fs.m_nMostRead, strBytes.size() / 4);
    for (const char* pszName : {"Alpha", "Project 19999"}) {
        CountedRecord record;
        record.strName = pszName;
        CFaultyFileSystem first(GetPlatformFileSystem(), 0), next(GetPlatformFileSystem(), 0);
        EXPECT_TRUE(AddTotalOf(File(first), pszName, 3, &record));
        EXPECT_TRUE(AddTotalOf(File(next), pszName, 4, &record));
        EXPECT_EQ(first.m_nBytesRead, strBytes.size());
        EXPECT_LE(next.m_nBytesRead, 512u) << pszName;
    }
    strBytes.replace(7, 9, "001:02:10");
    strBytes.replace(strBytes.size() - 9, 9, "000:00:07");
    EXPECT_EQ(ReadFileBytes(), strBytes);
    EXPECT_TRUE(m_sink.m_messages.empty());
}

TEST(ProjectFileTempPath, IsHiddenStyleBesideTheFileAndNewForEachSave) {
    EXPECT_EQ(MakeTempFilePath("C:\\Q\\Projekte.dbu", 1234, 1), "C:\\Q\\~Projekte.1234-1.tmp");
    EXPECT_EQ(MakeTempFilePath("/q/Projekte.dbu", 7, 42), "/q/~Projekte.7-42.tmp");
    EXPECT_EQ(MakeTempFilePath("C:\\Q.d\\Projekte", 1, 2), "C:\\Q.d\\~Projekte.1-2.tmp");
    EXPECT_EQ(MakeTempFilePath("C:\\Q\\data.TMP", 1, 2), "C:\\Q\\~data.1-2.tmp");
    EXPECT_EQ(MakeTempFilePath("Projekte.dbu", 1, 2), "~Projekte.1-2.tmp");
    EXPECT_NE(MakeTempFilePath("C:\\Q\\Projekte.dbu", 1, 2),
              MakeTempFilePath("C:\\Q\\Projekte.dbu", 1, 3));
    EXPECT_NE(MakeTempFilePath("C:\\Q\\Projekte.dbu", 1, 2),
              MakeTempFilePath("C:\\Q\\Projekte.dbu", 2, 2));
}
