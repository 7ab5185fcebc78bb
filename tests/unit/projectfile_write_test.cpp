// The operations that change the project file, byte for byte on real files.
#include "projectfile_support.h"

TEST_F(ProjectFileTest, AppendProjectAddsARecordWithoutATrailingLineEnd) {
    WriteFileBytes(kAlphaBeta);
    EXPECT_TRUE(File().AppendProject("Gamma"));
    EXPECT_EQ(ReadFileBytes(), kAlphaBeta + "\r\nGamma\r\n000:00:00");

    WriteFileBytes("");
    EXPECT_TRUE(File().AppendProject("First"));
    EXPECT_EQ(ReadFileBytes(), "First\r\n000:00:00");
    EXPECT_TRUE(File().AppendProject("First"));
    EXPECT_EQ(Names(), Strings({"First", "First"}));
    EXPECT_TRUE(m_sink.m_messages.empty());
    EXPECT_EQ(FolderEntries(), Strings({"Projekte.dbu"}));
}

TEST_F(ProjectFileTest, ThirtyByteNameIsStoredAndPairedWithItsTime) {
    const std::string strName = "123456789012345678901234567890";
    WriteFileBytes(kAlphaBeta);
    ASSERT_TRUE(File().AppendProject(strName));
    ASSERT_TRUE(File().AppendProject("After"));
    ASSERT_TRUE(File().WriteProjectTotal(2, "003:04:05"));
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
    EXPECT_FALSE(File().DeleteProject(0));
    EXPECT_FALSE(File().WriteProjectTotal(0, "001:00:00"));
    EXPECT_FALSE(File().ReadProjectTotal(0, nHours, nMinutes, nSeconds));
    EXPECT_EQ(m_sink.m_messages, Strings(4, kMsgErrorReading));
    EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(ProjectFileTest, ChangesToAnEmptyFileOtherThanAppendAreSilentlyRefused) {
    WriteFileBytes("");
    EXPECT_FALSE(File().DeleteProject(0));
    EXPECT_FALSE(File().WriteProjectTotal(0, "001:00:00"));
    EXPECT_EQ(ReadFileBytes(), "");
    EXPECT_TRUE(m_sink.m_messages.empty());
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
        // A 40-byte line holds two entries' worth of pieces; only the chosen one goes.
        {std::string(31, 'L') + "123456789\r\n000:00:00\r\nX", 1,
         std::string(31, 'L') + "123456789"},
    };
    for (const Case& c : cases) {
        WriteFileBytes(c.strBefore);
        EXPECT_TRUE(File().DeleteProject(c.nIndex)) << c.strBefore << " index " << c.nIndex;
        EXPECT_EQ(ReadFileBytes(), c.strAfter) << c.strBefore << " index " << c.nIndex;
    }
    EXPECT_TRUE(m_sink.m_messages.empty());
    EXPECT_EQ(FolderEntries(), Strings({"Projekte.dbu"}));
}

TEST_F(ProjectFileTest, DeleteProjectOutsideTheRecordsChangesNothing) {
    for (int nIndex : {-1, 2, 3, 0x7FFFFFFF}) {
        WriteFileBytes(kAlphaBeta);
        EXPECT_FALSE(File().DeleteProject(nIndex)) << nIndex;
        EXPECT_EQ(ReadFileBytes(), kAlphaBeta) << nIndex;
    }
    EXPECT_TRUE(m_sink.m_messages.empty());
}

TEST_F(ProjectFileTest, DeleteProjectHandlesFilesOfAnySize) {
    std::string strBefore = "First\r\n000:00:01";
    for (int i = 0; i < 600; ++i) {
        strBefore += "\r\nProject number " + std::to_string(i) + "\r\n012:34:56";
    }
    ASSERT_GT(strBefore.size(), 16384u);
    WriteFileBytes(strBefore);
    ASSERT_TRUE(File().DeleteProject(0));
    EXPECT_EQ(ReadFileBytes(), strBefore.substr(18));
    ASSERT_TRUE(File().DeleteProject(599));
    const std::vector<std::string> names = Names();
    ASSERT_EQ(names.size(), 599u);
    EXPECT_EQ(names.back(), "Project number 598");
}

TEST_F(ProjectFileTest, WriteProjectTotalOverwritesOnlyTheRecordsTimeLine) {
    WriteFileBytes(kAlphaBeta);
    EXPECT_TRUE(File().WriteProjectTotal(1, "123:45:06"));
    EXPECT_EQ(ReadFileBytes(), kAlphaBeta.substr(0, 24) + "123:45:06");
    EXPECT_TRUE(File().WriteProjectTotal(0, "999:59:59"));
    EXPECT_EQ(ReadFileBytes(), "Alpha\r\n999:59:59\r\nBeta\r\n123:45:06");

    WriteFileBytes("A\n001:00:00\nB\n002:00:00\nC\n003:00:00\n");
    EXPECT_TRUE(File().WriteProjectTotal(1, "020:00:00"));
    EXPECT_EQ(ReadFileBytes(), "A\n001:00:00\nB\n020:00:00\nC\n003:00:00\n");
    EXPECT_TRUE(m_sink.m_messages.empty());
    EXPECT_EQ(FolderEntries(), Strings({"Projekte.dbu"}));
}

TEST_F(ProjectFileTest, WriteProjectTotalRefusesBadIndexesAndTotals) {
    WriteFileBytes(kAlphaBeta);
    for (int nIndex : {-1, 2, 0x7FFFFFFF}) {
        EXPECT_FALSE(File().WriteProjectTotal(nIndex, "001:00:00")) << nIndex;
    }
    for (const char* pszTotal : {"1000:00:00", "01:00:00", "001:60:00", "001:00:60", "0a1:00:00",
                                 "001-00:00", "001:00:0", "", "001:00:00\r"}) {
        EXPECT_FALSE(File().WriteProjectTotal(0, pszTotal)) << pszTotal;
    }
    EXPECT_EQ(ReadFileBytes(), kAlphaBeta);
    EXPECT_TRUE(m_sink.m_messages.empty());
}

TEST_F(ProjectFileTest, WriteProjectTotalOnlyReplacesAWellFormedTimeLine) {
    const std::string str40 = std::string(31, 'L') + "001:00:00";
    const std::string files[] = {
        "A\r\n1:2:3\r\nB\r\n002:00:00",            // too short: B's name would be overwritten
        "A\r\n001:00:000\r\nB\r\n002:00:00",       // too long
        "A\r\n001:00:0x\r\nB\r\n002:00:00",        // not digits
        "A\r\n001:00:00\r\n",                      // index 1 is the extra empty entry
        "A\r\n",                                   // no time line at all
        str40 + "\r\n002:00:00\r\nX\r\n000:00:00", // index 0's time is the tail of a name
    };
    for (const std::string& strBefore : files) {
        WriteFileBytes(strBefore);
        const int nIndex = strBefore == "A\r\n001:00:00\r\n" ? 1 : 0;
        EXPECT_FALSE(File().WriteProjectTotal(nIndex, "777:00:00")) << strBefore;
        EXPECT_EQ(ReadFileBytes(), strBefore);
    }
    EXPECT_TRUE(m_sink.m_messages.empty());
}

TEST_F(ProjectFileTest, ASaveThatCannotCreateItsTemporaryFileIsReported) {
    WriteFileBytes(kAlphaBeta);
    std::filesystem::create_directory(m_strDir + "/Projekte.tmp");
    EXPECT_FALSE(File().AppendProject("Gamma"));
    EXPECT_FALSE(File().WriteProjectTotal(0, "002:00:00"));
    EXPECT_FALSE(File().DeleteProject(0));
    EXPECT_EQ(ReadFileBytes(), kAlphaBeta);
    EXPECT_EQ(m_sink.m_messages, Strings(3, kMsgErrorWriting));
}
