// Changes in place and their journal: what a crash at any moment leaves once the program has
// started again, and what the start does with a journal it finds.
#include "ProjectFileJournal.h"
#include "projectfile_faulty_fs.h"
#include "projectfile_support.h"

namespace {

const std::string kThree = "A\r\n001:00:00\r\nB\r\n002:00:00\r\nC\r\n003:00:00";

const Change kChanges[] = {
    {"append", [](const CProjectFile& f) { return f.AppendProject("Gamma"); }, kAlphaBeta,
     kAlphaBeta + "\r\nGamma\r\n000:00:00"},
    {"append to an empty file", [](const CProjectFile& f) { return f.AppendProject("First"); }, "",
     "First\r\n000:00:00"},
    {"delete the first",
     [](const CProjectFile& f) {
         bool bListStale = false;
         return f.DeleteProject(0, "A", bListStale);
     },
     kThree, kThree.substr(14)},
    {"delete the middle",
     [](const CProjectFile& f) {
         bool bListStale = false;
         return f.DeleteProject(1, "B", bListStale);
     },
     kThree, "A\r\n001:00:00\r\nC\r\n003:00:00"},
    {"replace a hand-typed total",
     [](const CProjectFile& f) {
         CountedRecord record;
         record.strName = "A";
         TotalUpdate update;
         return f.AddToProjectTotal(record, 4 * 3600 + 5 * 60 + 6 - 3723, true, update);
     },
     "A\r\n1:2:3\r\nB\r\n000:00:00", "A\r\n004:05:06\r\nB\r\n000:00:00"},
};

} // namespace

class ProjectFileJournalTest : public ProjectFileTest {
protected:
    std::string JournalPath() const { return MakeJournalPath(m_strPath); }
    void WriteJournal(const std::string& strBytes) {
        std::ofstream(JournalPath(), std::ios::binary | std::ios::trunc) << strBytes;
    }
    void Restart() { File().RecoverAfterCrash(); }
};

TEST(ProjectFileJournalFormat, ACompleteJournalParsesAndAnyCutOrDamageIsSeen) {
    const std::string strJournal = MakeJournal(kAlphaBeta, 16);
    JournalEntry entry;
    ASSERT_TRUE(ParseJournal(strJournal, entry));
    EXPECT_EQ(entry.nOldLength, kAlphaBeta.size());
    EXPECT_EQ(entry.nOffset, 16u);
    EXPECT_EQ(strJournal.substr(entry.nTailAt, kAlphaBeta.size() - 16), kAlphaBeta.substr(16));
    for (std::size_t nCut = 0; nCut < strJournal.size(); ++nCut) {
        EXPECT_FALSE(ParseJournal(strJournal.substr(0, nCut), entry)) << nCut;
    }
    for (std::size_t nAt = 0; nAt < strJournal.size(); ++nAt) {
        std::string strDamaged = strJournal;
        strDamaged[nAt] ^= 0x20;
        EXPECT_FALSE(ParseJournal(strDamaged, entry)) << nAt;
    }
    EXPECT_FALSE(ParseJournal(strJournal + "x", entry));
    EXPECT_TRUE(ParseJournal(MakeJournal("", 0), entry));
    EXPECT_EQ(MakeJournalPath("C:\\Q\\Projekte.dbu"), "C:\\Q\\~Projekte.dbu.journal");
    EXPECT_EQ(MakeJournalPath("/q/Projekte.dbu"), "/q/~Projekte.dbu.journal");
}

// What the crashed change had written is taken back byte for byte, whatever it was.
TEST_F(ProjectFileJournalTest, TheStartRollsBackACompleteJournalExactly) {
    const struct {
        std::string strOld;
        std::size_t nOffset;
        std::string strLeft; // what the crash left in the file
    } cases[] = {
        {kAlphaBeta, kAlphaBeta.size(), kAlphaBeta + "\r\nGam"},
        {kAlphaBeta, 0, "Beta\r\n000:00:00:00:00"},
        {kThree, 14, kThree.substr(0, 14) + "C\r\n003:00:00B\r\n002:00:00\r\nC\r\n003:00:00"},
        {kThree, 14, kThree.substr(0, 14) + "C\r\n003:00:00"},
        {"", 0, "First\r\n000:0"},
    };
    for (const auto& c : cases) {
        WriteFileBytes(c.strLeft);
        WriteJournal(MakeJournal(c.strOld, c.nOffset));
        Restart();
        EXPECT_EQ(ReadFileBytes(), c.strOld) << c.strLeft;
        EXPECT_EQ(FolderEntries(), Strings({"Projekte.dbu"}));
    }
    EXPECT_TRUE(m_sink.m_messages.empty());
}

// A journal cut short was being written while the file was still untouched: it goes, and the
// file stays as it is.
TEST_F(ProjectFileJournalTest, TheStartRemovesAnIncompleteJournalAndLeavesTheFile) {
    const std::string strJournal = MakeJournal(kThree, 3);
    std::string strDamaged = strJournal;
    strDamaged[30] ^= 1;
    for (const std::string& strLeft :
         {std::string(), strJournal.substr(0, 10), strJournal.substr(0, strJournal.size() - 1),
          strDamaged, std::string("QJOURNL1") + std::string(100, '\xFF')}) {
        WriteFileBytes(kAlphaBeta);
        WriteJournal(strLeft);
        Restart();
        EXPECT_EQ(ReadFileBytes(), kAlphaBeta);
        EXPECT_EQ(FolderEntries(), Strings({"Projekte.dbu"}));
    }
}

// With no project file there is nothing to roll back into: the journal is kept for a later
// start, and nothing is created.
TEST_F(ProjectFileJournalTest, AJournalWithoutItsFileIsKeptAndNothingCreated) {
    WriteJournal(MakeJournal(kAlphaBeta, 5));
    Restart();
    EXPECT_FALSE(FileExists());
    EXPECT_EQ(FolderEntries(), Strings({"~Projekte.dbu.journal"}));
}

// The program ends at each call of a change in turn (a write cut in half); after the next
// start the file holds the old or the new content, and no journal is left.
TEST_F(ProjectFileJournalTest, ACrashAtAnyCallOfAChangeLeavesOldOrNewAfterTheNextStart) {
    for (const Change& change : kChanges) {
        bool bFinished = false;
        int nOld = 0, nNew = 0;
        for (int nCrashAt = 1; nCrashAt < 30 && !bFinished; ++nCrashAt) {
            SCOPED_TRACE(std::string(change.pszName) + " crash at call " +
                         std::to_string(nCrashAt));
            WriteFileBytes(change.strBefore);
            {
                CFaultyFileSystem fs(GetPlatformFileSystem(), nCrashAt, true);
                change.run(File(fs));
                bFinished = fs.m_strFailed.empty();
            }
            Restart();
            const std::string strAfter = ReadFileBytes();
            EXPECT_TRUE(strAfter == change.strBefore || strAfter == change.strAfter) << strAfter;
            EXPECT_EQ(FolderEntries(), Strings({"Projekte.dbu"}));
            (strAfter == change.strBefore ? nOld : nNew)++;
        }
        EXPECT_TRUE(bFinished) << change.pszName;
        EXPECT_GT(nOld, 5) << change.pszName;
        EXPECT_GE(nNew, 1) << change.pszName;
    }
}

// A rollback cut short by another crash is done again, whole, by the next start.
TEST_F(ProjectFileJournalTest, ACrashDuringARollBackLeavesTheOldContentAfterTheNextStart) {
    bool bFinished = false;
    for (int nCrashAt = 1; nCrashAt < 20 && !bFinished; ++nCrashAt) {
        WriteFileBytes(kThree.substr(0, 14) + "C\r\n003:00:00\r\nxx");
        WriteJournal(MakeJournal(kThree, 14));
        {
            CFaultyFileSystem fs(GetPlatformFileSystem(), nCrashAt, true);
            File(fs).RecoverAfterCrash();
            bFinished = fs.m_strFailed.empty();
        }
        Restart();
        EXPECT_EQ(ReadFileBytes(), kThree) << nCrashAt;
        EXPECT_EQ(FolderEntries(), Strings({"Projekte.dbu"}));
    }
    EXPECT_TRUE(bFinished);
}

// A journal found before a change (a rollback at the start failed) is rolled back first; the
// change, worked out from the file as the crash left it, is refused, and the next one works.
TEST_F(ProjectFileJournalTest, AChangeFirstRollsBackAJournalAndRefusesItsOwnStaleContent) {
    WriteFileBytes(kAlphaBeta + "\r\nGam");
    WriteJournal(MakeJournal(kAlphaBeta, kAlphaBeta.size()));
    EXPECT_FALSE(File().AppendProject("Delta"));
    EXPECT_EQ(ReadFileBytes(), kAlphaBeta);
    EXPECT_EQ(m_sink.m_messages, Strings({kMsgErrorWriting}));
    EXPECT_TRUE(File().AppendProject("Delta"));
    EXPECT_EQ(ReadFileBytes(), kAlphaBeta + "\r\nDelta\r\n000:00:00");
    EXPECT_EQ(FolderEntries(), Strings({"Projekte.dbu"}));
}

// A file that cannot be written keeps its journal until it can: nothing is lost meanwhile.
TEST_F(ProjectFileJournalTest, AReadOnlyFileRefusesTheRollBackAndKeepsTheJournal) {
    namespace fs = std::filesystem;
    WriteFileBytes(kAlphaBeta + "\r\nGam");
    WriteJournal(MakeJournal(kAlphaBeta, kAlphaBeta.size()));
    fs::permissions(m_strPath, fs::perms::owner_read);
    Restart();
    EXPECT_FALSE(File().AppendProject("Delta"));
    EXPECT_EQ(ReadFileBytes(), kAlphaBeta + "\r\nGam");
    EXPECT_EQ(m_sink.m_messages, Strings({kMsgErrorWriting}));
    fs::permissions(m_strPath, fs::perms::owner_read | fs::perms::owner_write);
    Restart();
    EXPECT_EQ(ReadFileBytes(), kAlphaBeta);
    EXPECT_EQ(FolderEntries(), Strings({"Projekte.dbu"}));
}

// An append writes only its own bytes after the old end: the journal holds no old bytes.
TEST_F(ProjectFileJournalTest, AnAppendJournalsNothingOfTheOldContent) {
    class CJournalWatch : public CFaultyFileSystem {
    public:
        using CFaultyFileSystem::CFaultyFileSystem;
        bool Write(FileHandle hFile, const char* pData, std::size_t nSize) override {
            m_nJournalBytes += nSize;
            return CFaultyFileSystem::Write(hFile, pData, nSize);
        }
        std::size_t m_nJournalBytes = 0;
    };
    WriteFileBytes(kThree + std::string(100000, 'x'));
    CJournalWatch fs(GetPlatformFileSystem(), 0);
    EXPECT_TRUE(File(fs).AppendProject("Gamma"));
    EXPECT_EQ(fs.m_nJournalBytes, MakeJournal("", 0).size());
}
