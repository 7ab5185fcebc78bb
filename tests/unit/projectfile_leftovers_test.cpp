// What a cut-short save or a hand edit leaves behind, and how the next start or append deals
// with it.
#include "ProjectFileFormat.h"
#include "projectfile_support.h"

#include <algorithm>

TEST_F(ProjectFileTest, StartRemovesTheTempFileOfACutShortSaveAndNothingElse) {
    WriteFileBytes(kAlphaBeta);
    // Two saves of ended processes, and files of the user's that only look alike.
    std::ofstream(MakeTempFilePath(m_strPath, 4321, 7), std::ios::binary) << "Alpha\r\n001:0";
    std::ofstream(MakeTempFilePath(m_strPath, 99, 1), std::ios::binary) << "";
    for (const char* pszMine : {"Projekte.tmp", "~Projekte.tmp", "~Projekte.1-x.tmp",
                                "~Projekte.12.tmp", "~Other.1-2.tmp", "Projekte.bak"}) {
        std::ofstream(m_strDir + "/" + pszMine) << "mine";
    }
    ASSERT_EQ(FolderEntries().size(), 9u);
    File().RemoveLeftoverTempFiles();
    std::vector<std::string> entries = FolderEntries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, Strings({"Projekte.bak", "Projekte.dbu", "Projekte.tmp", "~Other.1-2.tmp",
                                "~Projekte.1-x.tmp", "~Projekte.12.tmp", "~Projekte.tmp"}));
    EXPECT_EQ(ReadFileBytes(), kAlphaBeta);
    EXPECT_TRUE(m_sink.m_messages.empty());
}

// Where a rename over a file is not atomic, a cut-short save of an older version may leave only
// its temporary file: with no project file, or one that does not read, it is the only copy.
TEST_F(ProjectFileTest, StartKeepsOlderVersionsTempFilesWhileTheProjectFileIsMissing) {
    const std::string strTemp = MakeTempFilePath(m_strPath, 4321, 7);
    std::ofstream(strTemp, std::ios::binary) << kAlphaBeta;
    File().RecoverAfterCrash();
    EXPECT_EQ(FolderEntries(), Strings({"~Projekte.4321-7.tmp"}));
    std::filesystem::create_directory(m_strPath); // a folder in its place does not read
    File().RecoverAfterCrash();
    EXPECT_EQ(FolderEntries().size(), 2u);
    std::filesystem::remove(m_strPath);
    WriteFileBytes("");
    File().RecoverAfterCrash();
    EXPECT_EQ(FolderEntries(), Strings({"Projekte.dbu"}));
    EXPECT_TRUE(m_sink.m_messages.empty());
}

// A last record without its time line gets the zero total it is read as before the new record,
// whether the file ends in its name or in a line end after it; a final line end that only ends
// the last record is followed directly.
TEST_F(ProjectFileTest, AppendAfterARecordWithoutATimeLineAddsExactlyOneProject) {
    const std::string strCases[][2] = {
        {"Alpha\r\n001:02:03\r\nBeta", "Alpha\r\n001:02:03\r\nBeta\r\n000:00:00\r\n"},
        {"Alpha\r\n001:02:03\r\nBeta\r\n", "Alpha\r\n001:02:03\r\nBeta\r\n000:00:00\r\n"},
        {"Alpha\r\n001:02:03\r\n", "Alpha\r\n001:02:03\r\n"},
        {"Alpha\n001:02:03\n", "Alpha\n001:02:03\n"},
    };
    for (const auto& fileCase : strCases) {
        WriteFileBytes(fileCase[0]);
        EXPECT_TRUE(File().AppendProject("Gamma"));
        EXPECT_EQ(ReadFileBytes(), fileCase[1] + "Gamma\r\n000:00:00") << fileCase[0];
        CFakeList rows;
        File().LoadOverviewRows(rows);
        EXPECT_EQ(rows.m_entries.back(), "Gamma\t000:00:00");
    }
    EXPECT_TRUE(m_sink.m_messages.empty());
}

// A hand edit left "A\r" as a time line with its CR LF after it, and a bare LF after the next
// record: deleting that record must not join the CR to the LF, which would cut the CR off the
// record before.
TEST_F(ProjectFileTest, DeleteLeavesEveryByteOfTheOtherRecords) {
    WriteFileBytes("Alpha\r\nA\r\r\nBeta\r\n000:00:00\nGamma\r\n000:00:01");
    bool bListStale = false;
    EXPECT_TRUE(File().DeleteProject(1, "Beta", bListStale));
    EXPECT_EQ(ReadFileBytes(), "Alpha\r\nA\r\r\nGamma\r\n000:00:01");
    CFakeList rows;
    File().LoadOverviewRows(rows);
    EXPECT_EQ(rows.m_entries, Strings({"Alpha\tA\r", "Gamma\t000:00:01"}));
}
