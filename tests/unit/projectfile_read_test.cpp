// The project file's path, its presence test and the reading operations, on real files.
#include "projectfile_faulty_fs.h"
#include "projectfile_support.h"

TEST(ProjectFilePath, CutsAfterTheLastBackslashWhateverTheLength) {
    EXPECT_EQ(MakeProjectFilePath("C:\\Tools\\Quillet\\Quillet.exe"),
              "C:\\Tools\\Quillet\\Projekte.dbu");
    EXPECT_EQ(MakeProjectFilePath("C:\\a/b\\c/Quillet.exe"), "C:\\a/b\\Projekte.dbu");
    EXPECT_EQ(MakeProjectFilePath("\\\\server\\share\\q.exe"), "\\\\server\\share\\Projekte.dbu");
    EXPECT_EQ(MakeProjectFilePath("Quillet.exe"), "");
    EXPECT_EQ(MakeProjectFilePath("C:/Tools/Quillet.exe"), "");
    EXPECT_EQ(MakeProjectFilePath(""), "");
    // Past MAX_PATH too: the file layer reaches long paths through their wide form.
    const std::string strLong =
        "C:\\" + std::string(200, 'd') + "\\\xC5\x81ukasz\\" + std::string(200, 'e') + "\\";
    EXPECT_EQ(MakeProjectFilePath(strLong + "q.exe"), strLong + "Projekte.dbu");
}

TEST_F(ProjectFileTest, PresenceTestTellsMissingEmptyAndNonEmpty) {
    EXPECT_EQ(File().GetState(), ProjectFileState::Missing);
    EXPECT_FALSE(FileExists());
    WriteFileBytes("");
    EXPECT_EQ(File().GetState(), ProjectFileState::Empty);
    WriteFileBytes(kAlphaBeta);
    EXPECT_EQ(File().GetState(), ProjectFileState::NonEmpty);
    EXPECT_EQ(CProjectFile("", GetPlatformFileSystem(), m_sink).GetState(),
              ProjectFileState::Missing);
    std::filesystem::remove(m_strPath);
    std::filesystem::create_directory(m_strPath);
    EXPECT_EQ(File().GetState(), ProjectFileState::Missing);
    EXPECT_TRUE(m_sink.m_messages.empty());
}

TEST_F(ProjectFileTest, LoadProjectNamesEmptiesTheListFromTheLastEntryFirst) {
    WriteFileBytes(kAlphaBeta);
    CFakeList list;
    list.m_entries = {"old0", "old1", "old2"};
    File().LoadProjectNames(list);
    EXPECT_EQ(list.m_calls, Strings({"delete 2", "delete 1", "delete 0", "begin 2", "add Alpha",
                                     "add Beta", "end"}));
    EXPECT_GE(list.m_nReservedBytes,
              std::string("Alpha").size() + 1 + std::string("Beta").size() + 1);
    EXPECT_TRUE(m_sink.m_messages.empty());
}

TEST_F(ProjectFileTest, LoadProjectNamesOnMissingOrEmptyFileLeavesTheListEmpty) {
    CFakeList list;
    list.m_entries = {"old"};
    File().LoadProjectNames(list);
    EXPECT_TRUE(list.m_entries.empty());
    EXPECT_EQ(m_sink.m_messages, Strings({kMsgErrorReading}));
    EXPECT_FALSE(FileExists());

    WriteFileBytes("");
    list.m_entries = {"old"};
    File().LoadProjectNames(list);
    EXPECT_TRUE(list.m_entries.empty());
    EXPECT_EQ(m_sink.m_messages.size(), 1u);
}

TEST_F(ProjectFileTest, ListsReadHandEditedFilesLineByLine) {
    struct Case {
        std::string strBytes;
        Strings names;
    };
    const std::string str30(30, 'N');
    const std::string str40 = std::string(31, 'L') + "123456789";
    const std::string str1000(1000, 'M');
    const Case cases[] = {
        {"One\r\n000:00:01", {"One"}},
        {"A\n001:00:00\nB\n002:00:00", {"A", "B"}},
        {"A\r\n001:00:00\nB\r\n002:00:00", {"A", "B"}},
        {"A\r\n001:00:00\r\n", {"A", ""}},
        {str30 + "\r\n000:00:00\r\nX\r\n000:00:00", {str30, "X"}},
        // A line is one line whatever its length; the list shows its first 30 bytes.
        {str40 + "\r\n000:00:00\r\nX\r\n000:00:00", {std::string(30, 'L'), "X"}},
        {std::string(31, 'L') + "\r\n000:00:00", {std::string(30, 'L')}},
        {"A\r\n" + str1000 + "\r\nB\r\n000:00:00", {"A", "B"}},
        {"Lone\rCR\r\n000:00:00", {"Lone\rCR"}},
        {std::string("Nu\0l\r\n000:00:00", 14), {"Nu"}},
        {"OnlyName", {"OnlyName"}},
    };
    for (const Case& c : cases) {
        WriteFileBytes(c.strBytes);
        EXPECT_EQ(Names(), c.names) << c.strBytes;
    }
    EXPECT_TRUE(m_sink.m_messages.empty());
}

// In a double-byte code page a long name is cut before a character that would not fit whole.
TEST_F(ProjectFileTest, ListsCutALongLineOnACharacterBoundary) {
    const LeadByteTest pfnIsLead = [](unsigned char c) { return c >= 0x81 && c <= 0x9F; };
    const std::string strKanji = "\x93\xfa"; // one double-byte character
    const std::string str29 = std::string(29, 'a');
    WriteFileBytes(str29 + strKanji + "b\r\n000:00:00\r\n" + std::string(28, 'c') + strKanji +
                   strKanji + "\r\n000:00:00");
    CFakeList list;
    CProjectFile(m_strPath, GetPlatformFileSystem(), m_sink, pfnIsLead).LoadProjectNames(list);
    EXPECT_EQ(list.m_entries, Strings({str29, std::string(28, 'c') + strKanji}));
    CFakeList rows;
    CProjectFile(m_strPath, GetPlatformFileSystem(), m_sink, pfnIsLead).LoadOverviewRows(rows);
    EXPECT_EQ(rows.m_entries.at(0), str29 + "\t000:00:00");
}

TEST_F(ProjectFileTest, OverviewRowsShowNameTabAndTimeAsStored) {
    WriteFileBytes(kAlphaBeta + "\r\n");
    CFakeList list;
    File().LoadOverviewRows(list);
    EXPECT_EQ(list.m_entries, Strings({"Alpha\t001:02:03", "Beta\t000:00:00", "\t"}));
    EXPECT_EQ(list.m_calls.front(), "begin 3");
    EXPECT_EQ(list.m_calls.back(), "end");
    EXPECT_GE(list.m_nReservedBytes, std::string("Alpha\t001:02:03Beta\t000:00:00\t").size() + 3);
    EXPECT_TRUE(m_sink.m_messages.empty());
}

TEST_F(ProjectFileTest, OverviewOnMissingOrEmptyFileTellsWhyAndLeavesTheList) {
    CFakeList list;
    list.m_entries = {"kept"};
    File().LoadOverviewRows(list);
    WriteFileBytes("");
    File().LoadOverviewRows(list);
    EXPECT_EQ(m_sink.m_messages, Strings({kMsgErrorReading, kMsgNoProject}));
    EXPECT_EQ(list.m_entries, Strings({"kept"}));
}

// A total reads as people type it: any number of hour digits, the value it says.
TEST_F(ProjectFileTest, ReadProjectTotalReadsTheRecordsTimeLineAsTyped) {
    struct Case {
        std::string strBytes;
        int nIndex, nHours, nMinutes, nSeconds;
    };
    const Case cases[] = {
        {"A\r\n999:59:59\r\nB\r\n012:34:56", 1, 12, 34, 56},
        {"A\r\n999:59:59\r\nB\r\n012:34:56", 0, 999, 59, 59},
        {"A\n001:02:03\nB\n004:05:06", 1, 4, 5, 6},
        {"A\r\n001:75:99", 0, 2, 16, 39},
        {"A\r\n1234:00:00", 0, 1234, 0, 0},
        {"A\r\n99:45:00", 0, 99, 45, 0},
        {"A\r\n5:30:00", 0, 5, 30, 0},
        {kAlphaBeta, -1, 0, 0, 0},
        {kAlphaBeta, 2, 0, 0, 0},
        {kAlphaBeta, 0x7FFFFFFF, 0, 0, 0},
        {"A\r\n5", 0, 5, 0, 5},
        {"A\r\n 7:x9: 3", 0, 7, 9, 3},
        {"A\r\n-01:02:-3", 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        WriteFileBytes(c.strBytes);
        int nHours = -100, nMinutes = -100, nSeconds = -100;
        EXPECT_TRUE(File().ReadProjectTotal(c.nIndex, nHours, nMinutes, nSeconds));
        EXPECT_EQ(std::vector<int>({nHours, nMinutes, nSeconds}),
                  std::vector<int>({c.nHours, c.nMinutes, c.nSeconds}))
            << c.strBytes << " index " << c.nIndex;
    }
    EXPECT_TRUE(m_sink.m_messages.empty());
}

TEST_F(ProjectFileTest, ReadProjectTotalOnMissingOrEmptyFileLeavesTheResults) {
    int nHours = 7, nMinutes = 8, nSeconds = 9;
    EXPECT_FALSE(File().ReadProjectTotal(0, nHours, nMinutes, nSeconds));
    EXPECT_EQ(m_sink.m_messages, Strings({kMsgErrorReading}));
    WriteFileBytes("");
    EXPECT_FALSE(File().ReadProjectTotal(0, nHours, nMinutes, nSeconds));
    EXPECT_EQ(m_sink.m_messages.size(), 1u);
    EXPECT_EQ(std::vector<int>({nHours, nMinutes, nSeconds}), std::vector<int>({7, 8, 9}));
}

// 4 GiB has zero in its low 32 bits: such a file once passed for empty, and a project created
// in it would have been written over the whole file. Sparse, so the test costs no disk space.
TEST_F(ProjectFileTest, AFileTooLargeToHoldIsReportedAndNeverWritten) {
    const std::uintmax_t nHuge = std::uintmax_t{1} << 32;
    WriteFileBytes(kAlphaBeta);
    std::filesystem::resize_file(m_strPath, nHuge);
    EXPECT_NE(File().GetState(), ProjectFileState::Empty);
    EXPECT_EQ(Names(), Strings());
    EXPECT_FALSE(File().AppendProject("Gamma"));
    EXPECT_FALSE(AddTotal("Alpha", 1));
    EXPECT_FALSE(Delete(0, "Alpha"));
    EXPECT_EQ(m_sink.m_messages, Strings(4, kMsgErrorReading));
    EXPECT_EQ(std::filesystem::file_size(m_strPath), nHuge);
    EXPECT_EQ(FolderEntries(), Strings({"Projekte.dbu"}));
}

// The limit holds to the byte: a file of exactly 64 MiB reads, and no read holds a buffer much
// larger than the file (once a read of a total grew to 256 MiB for it); one byte more is refused.
TEST_F(ProjectFileTest, AFileOfExactly64MiBReadsInBuffersSizedFromIt) {
    class CBufferWatch : public CFaultyFileSystem {
    public:
        using CFaultyFileSystem::CFaultyFileSystem;
        bool ReadHead(const std::string& strPath, std::string& strContent,
                      std::size_t nBytes) override {
            const bool bOk = CFaultyFileSystem::ReadHead(strPath, strContent, nBytes);
            m_nLargestBuffer = std::max(m_nLargestBuffer, strContent.capacity());
            return bOk;
        }
        std::size_t m_nLargestBuffer = 0;
    };
    const std::uintmax_t nLimit = std::uintmax_t{64} << 20;
    WriteFileBytes("A\r\n001:02:03\r\nB\r\n");
    std::filesystem::resize_file(m_strPath, nLimit); // B's time line: NULs to the end
    CBufferWatch fs(GetPlatformFileSystem(), 0);
    int nHours = 0, nMinutes = 0, nSeconds = 0;
    EXPECT_TRUE(File(fs).ReadProjectTotal(1, nHours, nMinutes, nSeconds));
    EXPECT_LE(fs.m_nLargestBuffer, nLimit + 4096);
    EXPECT_EQ(Names(), Strings({"A", "B"}));
    EXPECT_TRUE(m_sink.m_messages.empty());

    std::filesystem::resize_file(m_strPath, nLimit + 1);
    EXPECT_EQ(Names(), Strings());
    EXPECT_EQ(m_sink.m_messages, Strings({kMsgErrorReading}));
}
