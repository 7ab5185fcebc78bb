// The operations that change the project file, byte for byte on real files.
#include "projectfile_support.h"

#include <algorithm>

TEST_F(ProjectFileTest, AppendProjectAddsARecordWithoutATrailingLineEnd) {
    WriteFileBytes(kAlphaBeta);
    EXPECT_TRUE(File().AppendProject("Gamma"));
    EXPECT_EQ(ReadFileBytes(), kAlphaBeta + "\r\nGamma\r\n000:00:00");

    WriteFileBytes("");
    EXPECT_TRUE(File().AppendProject("First"));
    EXPECT_EQ(ReadFileBytes(), "First\r\n000:00:00");
    EXPECT_TRUE(File().AppendProject("First"));
    EXPECT_EQ(Names(), Strings({"First", "First"}));

    // Most editors end a file with a line end: the new record follows it directly.
    WriteFileBytes("Alpha\r\n001:00:00\r\n");
    EXPECT_TRUE(File().AppendProject("Gamma"));
    EXPECT_EQ(ReadFileBytes(), "Alpha\r\n001:00:00\r\nGamma\r\n000:00:00");
    EXPECT_TRUE(m_sink.m_messages.empty());
    EXPECT_EQ(FolderEntries(), Strings({"Projekte.dbu"}));
}

TEST_F(ProjectFileTest, ThirtyByteNameIsStoredAndPairedWithItsTime) {
    const std::string strName = "123456789012345678901234567890";
    WriteFileBytes(kAlphaBeta);
    ASSERT_TRUE(File().AppendProject(strName));
    ASSERT_TRUE(File().AppendProject("After"));
    ASSERT_TRUE(AddTotal(strName, 3 * 3600 + 4 * 60 + 5));
    EXPECT_EQ(Names(), Strings({"Alpha", "Beta", strName, "After"}));
    int nHours = 0, nMinutes = 0, nSeconds = 0;
    ASSERT_TRUE(File().ReadProjectTotal(2, nHours, nMinutes, nSeconds));
    EXPECT_EQ(std::vector<int>({nHours, nMinutes, nSeconds}), std::vector<int>({3, 4, 5}));
}

TEST_F(ProjectFileTest, AppendProjectRefusesNamesThatAreNotOneShortLine) {
    WriteFileBytes(kAlphaBeta);
    for (const std::string& strName :
         {std::string(), std::string(31, 'x'), std::string("a\rb"), std::string("a\nb")}) {
        EXPECT_FALSE(File().AppendProject(strName));
    }
    EXPECT_EQ(ReadFileBytes(), kAlphaBeta);
}

TEST_F(ProjectFileTest, ChangesToAMissingFileAreReportedAndNeverCreateIt) {
    int nHours = 0, nMinutes = 0, nSeconds = 0;
    EXPECT_FALSE(File().AppendProject("New"));
    EXPECT_FALSE(Delete(0, "Alpha"));
    EXPECT_FALSE(AddTotal("Alpha", 3600));
    EXPECT_FALSE(File().ReadProjectTotal(0, nHours, nMinutes, nSeconds));
    EXPECT_EQ(m_sink.m_messages, Strings(4, kMsgErrorReading));
    EXPECT_TRUE(FolderEntries().empty());
}

// A delete finds nothing to do and asks for a fresh list; a total has lost its project, which
// is reported so that the count is kept.
TEST_F(ProjectFileTest, AnEmptiedFileRefusesDeleteAndReportsATotal) {
    WriteFileBytes("");
    bool bListStale = false;
    EXPECT_FALSE(File().DeleteProject(0, "Alpha", bListStale));
    EXPECT_TRUE(bListStale);
    EXPECT_TRUE(m_sink.m_messages.empty());
    EXPECT_FALSE(AddTotal("Alpha", 3600));
    EXPECT_EQ(ReadFileBytes(), "");
    EXPECT_EQ(m_sink.m_messages, Strings({MakeProjectNotFoundMessage("Alpha")}));
}

TEST_F(ProjectFileTest, DeleteProjectLeavesExactlyTheOtherRecords) {
    struct Case {
        std::string strBefore;
        int nIndex;
        std::string strAfter;
    };
    const std::string strThree = "A\r\n001:00:00\r\nB\r\n002:00:00\r\nC\r\n003:00:00";
    const Case cases[] = {
        {kAlphaBeta, 1, kAlphaBeta.substr(0, 16)},
        {kAlphaBeta, 0, kAlphaBeta.substr(18)},
        {"Only\r\n000:00:00", 0, ""},
        {strThree, 0, "B\r\n002:00:00\r\nC\r\n003:00:00"},
        {strThree, 1, "A\r\n001:00:00\r\nC\r\n003:00:00"},
        {strThree, 2, "A\r\n001:00:00\r\nB\r\n002:00:00"},
        // Hand-edited files: bare LF line ends are kept as they are around the record.
        {"A\n001:00:00\nB\n002:00:00\nC\n003:00:00", 1, "A\n001:00:00\nC\n003:00:00"},
        {"A\n001:00:00\r\nB\r\n002:00:00\nC\n003:00:00", 1, "A\n001:00:00\nC\n003:00:00"},
        {"A\n001:00:00\nB\n002:00:00", 0, "B\n002:00:00"},
        // The extra empty entry after a trailing line end takes that line end with it.
        {kAlphaBeta + "\r\n", 2, kAlphaBeta},
        {"A\r\n001:00:00\r\n", 0, ""},
        // A 40-byte name line is one line: its record goes whole, and only it.
        {std::string(40, 'L') + "\r\n000:00:05\r\nX\r\n000:00:00", 0, "X\r\n000:00:00"},
        {"X\r\n000:00:00\r\n" + std::string(40, 'L') + "\r\n000:00:05", 1, "X\r\n000:00:00"},
    };
    // The lists may drop the entry in place unless told they must be read again, which only
    // the file whose one record is followed by a line end needs.
    int nStale = 0;
    for (const Case& c : cases) {
        WriteFileBytes(c.strBefore);
        std::vector<std::string> names = Names();
        const std::string strName = names.at(c.nIndex);
        bool bListStale = true;
        EXPECT_TRUE(File().DeleteProject(c.nIndex, strName, bListStale))
            << c.strBefore << " index " << c.nIndex;
        EXPECT_EQ(ReadFileBytes(), c.strAfter) << c.strBefore << " index " << c.nIndex;
        names.erase(names.begin() + c.nIndex);
        EXPECT_EQ(bListStale, Names() != names) << c.strBefore << " index " << c.nIndex;
        nStale += bListStale;
    }
    EXPECT_EQ(nStale, 1);
    EXPECT_TRUE(m_sink.m_messages.empty());
    EXPECT_EQ(FolderEntries(), Strings({"Projekte.dbu"}));
}

// An index past the records means the list is older than the file: the user is told.
TEST_F(ProjectFileTest, DeleteProjectOutsideTheRecordsChangesNothing) {
    for (int nIndex : {-1, 2, 3, 0x7FFFFFFF}) {
        WriteFileBytes(kAlphaBeta);
        EXPECT_FALSE(Delete(nIndex, "Beta")) << nIndex;
        EXPECT_EQ(ReadFileBytes(), kAlphaBeta) << nIndex;
    }
    EXPECT_EQ(m_sink.m_messages, Strings(3, kMsgListChanged));
}

TEST_F(ProjectFileTest, DeleteProjectRefusesARecordThatNoLongerCarriesTheNameShown) {
    // The list showed Alpha, Beta; another program inserted Gamma in front of Beta.
    const std::string strMoved = "Alpha\r\n001:02:03\r\nGamma\r\n000:00:07\r\nBeta\r\n000:00:00";
    WriteFileBytes(strMoved);
    bool bListStale = false;
    EXPECT_FALSE(File().DeleteProject(1, "Beta", bListStale));
    EXPECT_TRUE(bListStale);
    EXPECT_EQ(ReadFileBytes(), strMoved);
    EXPECT_EQ(m_sink.m_messages, Strings({kMsgListChanged}));
    EXPECT_TRUE(File().DeleteProject(2, "Beta", bListStale));
    EXPECT_FALSE(bListStale);
    EXPECT_EQ(ReadFileBytes(), "Alpha\r\n001:02:03\r\nGamma\r\n000:00:07");
}

TEST_F(ProjectFileTest, DeleteProjectHandlesFilesOfAnySize) {
    std::string strBefore = "First\r\n000:00:01";
    for (int i = 0; i < 600; ++i) {
        strBefore += "\r\nProject number " + std::to_string(i) + "\r\n012:34:56";
    }
    ASSERT_GT(strBefore.size(), 16384u);
    WriteFileBytes(strBefore);
    ASSERT_TRUE(Delete(0, "First"));
    EXPECT_EQ(ReadFileBytes(), strBefore.substr(18));
    ASSERT_TRUE(Delete(599, "Project number 599"));
    const std::vector<std::string> names = Names();
    ASSERT_EQ(names.size(), 599u);
    EXPECT_EQ(names.back(), "Project number 598");
}

// A well-formed time line gets its nine bytes in place: same file, same length, no copy; the
// time is added to what the line holds at that moment, and stops at 999:59:59.
TEST_F(ProjectFileTest, AddToProjectTotalChangesOnlyTheRecordsTimeLineInPlace) {
    WriteFileBytes(kAlphaBeta);
    const ino_t nInode = Inode();
    EXPECT_TRUE(AddTotal("Beta", 123 * 3600 + 45 * 60 + 6));
    EXPECT_EQ(ReadFileBytes(), kAlphaBeta.substr(0, 24) + "123:45:06");
    EXPECT_TRUE(AddTotal("Alpha", kMaxTotalSeconds));
    EXPECT_EQ(ReadFileBytes(), "Alpha\r\n999:59:59\r\nBeta\r\n123:45:06");
    EXPECT_EQ(Inode(), nInode);

    WriteFileBytes("A\n001:00:00\nB\n002:00:00\nC\n003:00:00\n");
    EXPECT_TRUE(AddTotal("B", 18 * 3600));
    EXPECT_EQ(ReadFileBytes(), "A\n001:00:00\nB\n020:00:00\nC\n003:00:00\n");
    EXPECT_TRUE(m_sink.m_messages.empty());
    EXPECT_EQ(FolderEntries(), Strings({"Projekte.dbu"}));
}

// Each save writes a temporary file of a name of its own, so a user's file of any plain name
// beside the project file is never touched, and none of the program's is left behind.
TEST_F(ProjectFileTest, SavesLeaveTheUsersOwnTmpFileAlone) {
    WriteFileBytes(kAlphaBeta);
    std::ofstream(m_strDir + "/Projekte.tmp", std::ios::binary) << "my notes";
    EXPECT_TRUE(File().AppendProject("Gamma"));
    EXPECT_TRUE(AddTotal("Alpha", 7200 - 3723));
    EXPECT_TRUE(Delete(1, "Beta"));
    EXPECT_EQ(ReadFileBytes(), "Alpha\r\n002:00:00\r\nGamma\r\n000:00:00");
    std::ifstream notes(m_strDir + "/Projekte.tmp", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(notes), {}), "my notes");
    std::vector<std::string> entries = FolderEntries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, Strings({"Projekte.dbu", "Projekte.tmp"}));
    EXPECT_TRUE(m_sink.m_messages.empty());
}

// The file layer checks the mark itself: run as root, the system would write it anyway.
TEST_F(ProjectFileTest, AReadOnlyFileIsNotChangedAndOtherPermissionsAreKept) {
    namespace fs = std::filesystem;
    WriteFileBytes(kAlphaBeta);
    fs::permissions(m_strPath, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(File().AppendProject("Gamma"));
    EXPECT_FALSE(Delete(0, "Alpha"));
    EXPECT_FALSE(AddTotal("Alpha", 1));
    EXPECT_EQ(ReadFileBytes(), kAlphaBeta);
    EXPECT_EQ(FolderEntries(), Strings({"Projekte.dbu"}));
    EXPECT_EQ(m_sink.m_messages, Strings(3, kMsgErrorWriting));

    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(m_strPath, mode);
    EXPECT_TRUE(File().AppendProject("Gamma"));
    EXPECT_EQ(fs::status(m_strPath).permissions(), mode);
}

// Create and delete change the file itself: a symbolic link stays a link and its target gets
// the change, a hard link's partner sees it too, and the file keeps its identity.
TEST_F(ProjectFileTest, ChangesGoThroughLinksToTheFileItself) {
    namespace fs = std::filesystem;
    const std::string strTarget = m_strDir + "/persist/Projekte.dbu";
    fs::create_directory(m_strDir + "/persist");
    std::ofstream(strTarget, std::ios::binary) << kAlphaBeta;
    fs::create_symlink(strTarget, m_strPath);
    const std::string strPartner = m_strDir + "/partner.dbu";
    fs::create_hard_link(strTarget, strPartner);
    const ino_t nInode = Inode();
    EXPECT_TRUE(File().AppendProject("Gamma"));
    EXPECT_TRUE(Delete(0, "Alpha"));
    const std::string strAfter = "Beta\r\n000:00:00\r\nGamma\r\n000:00:00";
    EXPECT_TRUE(fs::is_symlink(m_strPath));
    EXPECT_EQ(ReadFileBytes(), strAfter);
    std::ifstream partner(strPartner, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(partner), {}), strAfter);
    EXPECT_EQ(Inode(), nInode);
    EXPECT_EQ(fs::hard_link_count(strTarget), 2u);
    EXPECT_TRUE(m_sink.m_messages.empty());
}

// A time line that the load reads as a total, though not in the written form, gets the sum of
// what it says and the time counted: in place where the length stays, else replaced whole, and
// every other byte stays. A line that is no total (a name, nothing) is never overwritten but
// reported.
TEST_F(ProjectFileTest, AddToProjectTotalOnHandTypedTimeLines) {
    const std::pair<std::string, std::string> cases[] = {{"000:75:99", "001:16:41"},
                                                         {"12:04:56", "012:04:58"},
                                                         {"001:00:00 ", "001:00:02"},
                                                         {" 7", "007:00:09"},
                                                         {"0001:00:00", "001:00:02"},
                                                         {"5:30:00", "005:30:02"},
                                                         {"B", ""},
                                                         {"", ""}};
    for (const auto& [strLine, strWritten] : cases) {
        const std::string strBefore = "A\r\n" + strLine + "\r\nB\r\n002:00:00";
        WriteFileBytes(strBefore);
        EXPECT_EQ(AddTotal("A", 2), !strWritten.empty()) << strLine;
        EXPECT_EQ(ReadFileBytes(),
                  strWritten.empty() ? strBefore : "A\r\n" + strWritten + "\r\nB\r\n002:00:00");
    }
    EXPECT_EQ(m_sink.m_messages, Strings(2, kMsgErrorWriting));
    EXPECT_EQ(FolderEntries(), Strings({"Projekte.dbu"}));
}

// A total typed above 999:59:59 is never cut nor written over; time that does not fit is
// dropped and said so; time taken back never goes below zero.
TEST_F(ProjectFileTest, AddToProjectTotalNeverCutsATypedTotalNorGoesBelowZero) {
    const std::string strTyped = "Alpha\r\n1234:00:00\r\nBeta\r\n999:59:58";
    WriteFileBytes(strTyped);
    CountedRecord alpha, beta;
    alpha.strName = "Alpha";
    beta.strName = "Beta";
    TotalUpdate update;
    EXPECT_TRUE(File().AddToProjectTotal(alpha, 60, false, update));
    EXPECT_TRUE(update.bCapped);
    EXPECT_EQ(update.nTotal, 1234 * 3600);
    EXPECT_TRUE(File().AddToProjectTotal(alpha, -60, false, update));
    EXPECT_EQ(ReadFileBytes(), strTyped);
    EXPECT_TRUE(File().AddToProjectTotal(beta, -50, false, update));
    EXPECT_FALSE(update.bCapped);
    EXPECT_EQ(ReadFileBytes(), "Alpha\r\n1234:00:00\r\nBeta\r\n999:59:08");
    EXPECT_TRUE(File().AddToProjectTotal(beta, 55, false, update));
    EXPECT_TRUE(update.bCapped);
    EXPECT_EQ(ReadFileBytes(), "Alpha\r\n1234:00:00\r\nBeta\r\n999:59:59");
    EXPECT_TRUE(File().AddToProjectTotal(beta, -kMaxTotalSeconds - 5, false, update));
    EXPECT_EQ(update.nTotal, 0);
    EXPECT_TRUE(m_sink.m_messages.empty());
}

// Another program inserted or removed records while a count ran: the time goes to the record
// of the counted name and occurrence, and the caller learns its new index; another record of
// the same name never passes for it; a record gone is reported and nothing is written.
TEST_F(ProjectFileTest, AddToProjectTotalFollowsItsRecordByNameAndOccurrence) {
    const std::string strLong(45, 'L');
    const struct {
        std::string strBefore;
        int nOccurrence, nFound;
        std::string strAfter;
    } cases[] = {
        {"A\r\n000:00:01\r\nC\r\n000:00:03\r\nD\r\n000:00:04", 0, 1,
         "A\r\n000:00:01\r\nC\r\n010:00:03\r\nD\r\n000:00:04"},
        {"N\r\n000:00:00\r\nA\r\n000:00:01\r\nC\r\n000:00:03", 0, 2,
         "N\r\n000:00:00\r\nA\r\n000:00:01\r\nC\r\n010:00:03"},
        {strLong + "\r\n000:00:05\r\nC\r\n000:00:00", 0, 1,
         strLong + "\r\n000:00:05\r\nC\r\n010:00:00"},
        {"A\r\n000:00:01\r\nD\r\n000:00:04", 0, -1, ""},
        {"A\r\n000:00:01\r\nC\r\n000:00:02\r\nC\r\n020:00:00", 0, 1,
         "A\r\n000:00:01\r\nC\r\n010:00:02\r\nC\r\n020:00:00"},
        {"A\r\n000:00:01\r\nC\r\n000:00:02\r\nC\r\n020:00:00", 1, 2,
         "A\r\n000:00:01\r\nC\r\n000:00:02\r\nC\r\n030:00:00"},
        {"C\r\n000:00:02", 1, -1, ""},
    };
    for (const auto& c : cases) {
        WriteFileBytes(c.strBefore);
        CountedRecord record;
        record.strName = "C";
        record.nOccurrence = c.nOccurrence;
        TotalUpdate update;
        EXPECT_EQ(File().AddToProjectTotal(record, 36000, false, update), !c.strAfter.empty());
        EXPECT_EQ(record.nIndex, c.nFound) << c.strBefore;
        EXPECT_EQ(ReadFileBytes(), c.strAfter.empty() ? c.strBefore : c.strAfter);
    }
    EXPECT_EQ(m_sink.m_messages, Strings(2, MakeProjectNotFoundMessage("C")));
}

// A hand correction made between two saves is added to, never overwritten; at the start of a
// count the record is found by its name and occurrence, and its total read as typed.
TEST_F(ProjectFileTest, SavesAddToTheTotalTheFileHoldsNow) {
    WriteFileBytes("X\r\n000:00:00\r\nAlpha\r\n1:00:00\r\nAlpha\r\n002:00:00");
    CountedRecord record;
    record.strName = "Alpha";
    record.nOccurrence = 1;
    std::int64_t nTotal = 0;
    bool bGone = true;
    ASSERT_TRUE(File().ReadCountedTotal(record, nTotal, bGone));
    EXPECT_EQ(nTotal, 7200);
    EXPECT_EQ(record.nIndex, 2);
    TotalUpdate update;
    EXPECT_TRUE(File().AddToProjectTotal(record, 10, false, update));
    WriteFileBytes("X\r\n000:00:00\r\nAlpha\r\n1:00:00\r\nAlpha\r\n012:00:00");
    EXPECT_TRUE(File().AddToProjectTotal(record, 5, false, update));
    EXPECT_EQ(update.nTotal, 12 * 3600 + 5);
    EXPECT_EQ(ReadFileBytes(), "X\r\n000:00:00\r\nAlpha\r\n1:00:00\r\nAlpha\r\n012:00:05");
    record.nOccurrence = 2;
    EXPECT_FALSE(File().ReadCountedTotal(record, nTotal, bGone));
    EXPECT_TRUE(bGone);
    EXPECT_EQ(m_sink.m_messages, Strings({kMsgProjectGone}));
}
