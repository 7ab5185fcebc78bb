// Corrections from the overview and the taking back of a delete, byte for byte on real files.
#include "ProjectFileFormat.h"
#include "projectfile_support.h"

namespace {

const std::string kThree = "A\r\n001:00:00\r\nB\r\n002:00:00\r\nC\r\n003:00:00";

} // namespace

TEST_F(ProjectFileTest, SetProjectTotalReplacesOnlyThatTimeLine) {
    WriteFileBytes(kAlphaBeta);
    bool bListStale = true;
    EXPECT_TRUE(File().SetProjectTotal(1, "Beta", "012:34:56", bListStale));
    EXPECT_FALSE(bListStale);
    EXPECT_EQ(ReadFileBytes(), kAlphaBeta.substr(0, 24) + "012:34:56");
    EXPECT_TRUE(File().SetProjectTotal(0, "Alpha", "000:00:00", bListStale));
    EXPECT_EQ(ReadFileBytes(), "Alpha\r\n000:00:00\r\nBeta\r\n012:34:56");
    EXPECT_TRUE(m_sink.m_messages.empty());
    EXPECT_EQ(FolderEntries(), Strings({"Projekte.dbu"}));
}

// A hand edit may have left a time line in another form, or none after the last name.
TEST_F(ProjectFileTest, SetProjectTotalMendsHandEditedTimeLines) {
    bool bListStale = false;
    WriteFileBytes("Alpha\r\n1:2:3\r\nBeta\r\n000:00:00");
    EXPECT_TRUE(File().SetProjectTotal(0, "Alpha", "004:05:06", bListStale));
    EXPECT_EQ(ReadFileBytes(), "Alpha\r\n004:05:06\r\nBeta\r\n000:00:00");
    WriteFileBytes("Alpha\r\n001:00:00\r\nBeta");
    EXPECT_TRUE(File().SetProjectTotal(1, "Beta", "000:10:00", bListStale));
    EXPECT_EQ(ReadFileBytes(), "Alpha\r\n001:00:00\r\nBeta\r\n000:10:00");
    WriteFileBytes("Alpha\r\n");
    EXPECT_TRUE(File().SetProjectTotal(0, "Alpha", "000:10:00", bListStale));
    EXPECT_EQ(ReadFileBytes(), "Alpha\r\n000:10:00");
    EXPECT_TRUE(m_sink.m_messages.empty());
}

TEST_F(ProjectFileTest, SetProjectTotalRefusesWhatIsNoTimeLine) {
    WriteFileBytes(kAlphaBeta);
    bool bListStale = false;
    for (const char* pszTotal : {"1:02:03", "001:60:00", "001:00:60", "1000:00:00", "", "abc"}) {
        EXPECT_FALSE(File().SetProjectTotal(0, "Alpha", pszTotal, bListStale)) << pszTotal;
    }
    EXPECT_EQ(ReadFileBytes(), kAlphaBeta);
}

TEST_F(ProjectFileTest, RenameProjectReplacesTheWholeNameLine) {
    WriteFileBytes(kAlphaBeta);
    bool bListStale = true;
    EXPECT_TRUE(File().RenameProject(0, "Alpha", "Gamma Delta", bListStale));
    EXPECT_FALSE(bListStale);
    EXPECT_EQ(ReadFileBytes(), "Gamma Delta\r\n001:02:03\r\nBeta\r\n000:00:00");
    // A long hand-edited name is listed cut to 30 bytes; the rename replaces all of it.
    WriteFileBytes("P1\r\n001:00:00\r\n" + std::string(40, 'L') + "\r\n000:00:05");
    EXPECT_TRUE(File().RenameProject(1, std::string(30, 'L'), "Short", bListStale));
    EXPECT_EQ(ReadFileBytes(), "P1\r\n001:00:00\r\nShort\r\n000:00:05");
    EXPECT_TRUE(m_sink.m_messages.empty());
}

TEST_F(ProjectFileTest, RenameProjectRefusesNamesThatAreNotOneShortLine) {
    WriteFileBytes(kAlphaBeta);
    bool bListStale = false;
    for (const std::string& strName :
         {std::string(), std::string(31, 'x'), std::string("a\rb"), std::string("a\nb")}) {
        EXPECT_FALSE(File().RenameProject(1, "Beta", strName, bListStale));
    }
    EXPECT_TRUE(File().RenameProject(1, "Beta", std::string(30, 'x'), bListStale));
    EXPECT_EQ(ReadFileBytes(), kAlphaBeta.substr(0, 18) + std::string(30, 'x') + "\r\n000:00:00");
}

// The record at the index no longer carries the name shown: another program moved the records.
TEST_F(ProjectFileTest, CorrectionsOfAMovedOrMissingRecordChangeNothing) {
    const std::string strMoved = "Beta\r\n000:00:00";
    WriteFileBytes(strMoved);
    bool bListStale = false;
    EXPECT_FALSE(File().SetProjectTotal(1, "Beta", "001:00:00", bListStale));
    EXPECT_TRUE(bListStale);
    EXPECT_FALSE(File().RenameProject(0, "Alpha", "Gamma", bListStale));
    EXPECT_TRUE(bListStale);
    WriteFileBytes("");
    EXPECT_FALSE(File().SetProjectTotal(0, "Beta", "001:00:00", bListStale));
    EXPECT_TRUE(bListStale);
    EXPECT_EQ(ReadFileBytes(), "");
    EXPECT_EQ(m_sink.m_messages, Strings(3, kMsgListChangedUnchanged));

    m_sink.m_messages.clear();
    std::filesystem::remove(m_strPath);
    EXPECT_FALSE(File().SetProjectTotal(0, "Beta", "001:00:00", bListStale));
    EXPECT_FALSE(File().RenameProject(0, "Beta", "Gamma", bListStale));
    EXPECT_FALSE(bListStale);
    EXPECT_EQ(m_sink.m_messages, Strings(2, kMsgErrorReading));
    EXPECT_FALSE(FileExists());
}

// Every record of files this program writes, deleted and put back: the bytes are the old ones.
TEST_F(ProjectFileTest, ADeleteTakenBackGivesTheOldBytes) {
    for (const std::string& strBefore :
         {kThree, kAlphaBeta, std::string("Only\r\n010:20:30"), kThree + "\r\n",
          std::string("A\n001:00:00\nB\n002:00:00")}) {
        WriteFileBytes(strBefore);
        const int nCount = static_cast<int>(Names().size());
        for (int nIndex = 0; nIndex < nCount; ++nIndex) {
            SCOPED_TRACE(strBefore + " index " + std::to_string(nIndex));
            WriteFileBytes(strBefore);
            const std::string strName = Names()[nIndex];
            bool bListStale = false;
            CRemovedRecord removed;
            ASSERT_TRUE(File().DeleteProject(nIndex, strName, bListStale, &removed));
            EXPECT_NE(ReadFileBytes(), strBefore);
            EXPECT_TRUE(File().InsertProjectAt(removed, bListStale));
            EXPECT_EQ(ReadFileBytes(), strBefore);
        }
    }
    EXPECT_TRUE(m_sink.m_messages.empty());
    EXPECT_EQ(FolderEntries(), Strings({"Projekte.dbu"}));
}

TEST_F(ProjectFileTest, ADeleteIsTakenBackOnlyBetweenItsOldNeighbours) {
    bool bListStale = false;
    CRemovedRecord removed;
    WriteFileBytes(kThree);
    ASSERT_TRUE(File().DeleteProject(1, "B", bListStale, &removed));
    EXPECT_EQ(removed.strNameLine, "B");
    EXPECT_EQ(removed.strTimeLine, "002:00:00");

    // Another program changed a total: the neighbours are the same, so B goes back.
    const std::string strOtherTotal = "A\r\n001:00:00\r\nC\r\n009:00:00";
    WriteFileBytes(strOtherTotal);
    EXPECT_TRUE(File().InsertProjectAt(removed, bListStale));
    EXPECT_EQ(ReadFileBytes(), "A\r\n001:00:00\r\nB\r\n002:00:00\r\nC\r\n009:00:00");
    EXPECT_TRUE(m_sink.m_messages.empty());

    // Another program removed A, or put a project between A and C, or emptied the file.
    for (const std::string& strChanged :
         {std::string("C\r\n003:00:00"),
          std::string("A\r\n001:00:00\r\nX\r\n000:00:00\r\nC\r\n003:00:00"), std::string()}) {
        m_sink.m_messages.clear();
        WriteFileBytes(strChanged);
        EXPECT_FALSE(File().InsertProjectAt(removed, bListStale));
        EXPECT_TRUE(bListStale);
        EXPECT_EQ(ReadFileBytes(), strChanged);
        EXPECT_EQ(m_sink.m_messages, Strings({MakeNotRestoredMessage(removed)}));
    }
    EXPECT_NE(MakeNotRestoredMessage(removed).find("\"B\" (002:00:00)"), std::string::npos);

    // The last record goes back only while it would be last again.
    WriteFileBytes(kThree);
    ASSERT_TRUE(File().DeleteProject(2, "C", bListStale, &removed));
    WriteFileBytes("A\r\n001:00:00\r\nB\r\n002:00:00\r\nD\r\n000:00:00");
    m_sink.m_messages.clear();
    EXPECT_FALSE(File().InsertProjectAt(removed, bListStale));
    EXPECT_EQ(m_sink.m_messages.size(), 1u);
}

TEST(ProjectFileTotalEntry, TakesHoursOfOneToThreeDigitsAndMinutesAndSecondsBelowSixty) {
    std::string strTotal;
    const std::pair<const char*, const char*> good[] = {
        {"012:34:56", "012:34:56"}, {"1:02:03", "001:02:03"}, {" 12:00:00 ", "012:00:00"},
        {"999:59:59", "999:59:59"}, {"0:00:00", "000:00:00"},
    };
    for (const auto& [pszText, pszTotal] : good) {
        EXPECT_TRUE(ParseTotalEntry(pszText, strTotal)) << pszText;
        EXPECT_EQ(strTotal, pszTotal);
    }
    for (const char* pszText : {"1000:00:00", "12:60:00", "12:00:60", "12:0:00", "", "12:00",
                                "-1:00:00", "12:00:00x", ":00:00", "1 2:00:00"}) {
        EXPECT_FALSE(ParseTotalEntry(pszText, strTotal)) << pszText;
    }
}
