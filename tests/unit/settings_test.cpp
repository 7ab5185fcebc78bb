// Quillet.ini: the away limit read from text a user may have written by hand, and written back
// with every other line kept.
#include "Settings.h"
#include "projectfile_faulty_fs.h"
#include "projectfile_support.h"

namespace {

class SettingsTest : public ProjectFileTest {
protected:
    void SetUp() override {
        ProjectFileTest::SetUp();
        m_strIniPath = m_strDir + "/Quillet.ini";
    }
    CSettingsFile Settings(IFileSystem& fs = GetPlatformFileSystem()) {
        return CSettingsFile(m_strIniPath, fs);
    }
    void WriteIni(const std::string& strBytes) {
        std::ofstream(m_strIniPath, std::ios::binary | std::ios::trunc) << strBytes;
    }
    std::string ReadIni() const {
        std::ifstream in(m_strIniPath, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string m_strIniPath;
};

} // namespace

TEST(SettingsText, ReadsTheAwayLimitOfTheSettingsSection) {
    EXPECT_EQ(ReadAwayMinutes("[Settings]\r\nAwayMinutes=25\r\n"), 25);
    EXPECT_EQ(ReadAwayMinutes("[Settings]\nAwayMinutes=25"), 25);
    EXPECT_EQ(ReadAwayMinutes("\xEF\xBB\xBF[settings]\r\n  awayminutes = 5 \r\n"), 5);
    EXPECT_EQ(ReadAwayMinutes("[Settings]\r\nAwayMinutes=0\r\n"), 0);
    EXPECT_EQ(ReadAwayMinutes("[Settings]\r\nAwayMinutes=240\r\n"), 240);
    EXPECT_EQ(ReadAwayMinutes("[Settings]\r\nAwayMinutes=1 ; one minute\r\n"), 1);
    // Comments, other sections and other keys are passed over; the first key counts.
    EXPECT_EQ(ReadAwayMinutes("; AwayMinutes=3\r\n[Other]\r\nAwayMinutes=4\r\n[Settings]\r\n"
                              "# AwayMinutes=5\r\nTheme=dark\r\nAwayMinutes=6\r\nAwayMinutes=7"),
              6);
}

TEST(SettingsText, AMissingBrokenOrOutOfRangeValueGivesTheDefault) {
    for (const char* pszIni :
         {"", "AwayMinutes=3", "[Other]\r\nAwayMinutes=3",
          "[Settings]\r\nAwayMinutes=", "[Settings]\r\nAwayMinutes=abc",
          "[Settings]\r\nAwayMinutes=-5", "[Settings]\r\nAwayMinutes=241",
          "[Settings]\r\nAwayMinutes=99999999999", "[Settings]\r\nAwayMinutes=1.5",
          "[Settings]\r\nAwayMinutes 5", "[Settings\r\nAwayMinutes=5", "\x01\xFF\xFE garbage"}) {
        EXPECT_EQ(ReadAwayMinutes(pszIni), kDefaultAwayMinutes) << pszIni;
    }
    EXPECT_EQ(kDefaultAwayMinutes, 10);
}

TEST(SettingsText, TypedMinutesAreWholeNumbersUpTo240) {
    int nMinutes = -1;
    EXPECT_TRUE(ParseAwayMinutes(" 15 ", nMinutes));
    EXPECT_EQ(nMinutes, 15);
    EXPECT_TRUE(ParseAwayMinutes("0", nMinutes));
    EXPECT_EQ(nMinutes, 0);
    for (const char* pszText : {"", " ", "241", "-1", "1e2", "ten", "1 0", "+5"}) {
        EXPECT_FALSE(ParseAwayMinutes(pszText, nMinutes)) << pszText;
    }
    EXPECT_EQ(nMinutes, 0);
}

TEST(SettingsText, WritingKeepsEveryOtherLine) {
    EXPECT_EQ(WriteAwayMinutes("", 5), "[Settings]\r\nAwayMinutes=5\r\n");
    EXPECT_EQ(WriteAwayMinutes("; mine\r\n[Other]\r\nX=1", 5),
              "; mine\r\n[Other]\r\nX=1\r\n[Settings]\r\nAwayMinutes=5\r\n");
    EXPECT_EQ(
        WriteAwayMinutes("[Settings]\r\n; note\r\nAwayMinutes = 10 ; my limit\r\nY=2\r\n", 30),
        "[Settings]\r\n; note\r\nAwayMinutes = 30 ; my limit\r\nY=2\r\n");
    EXPECT_EQ(WriteAwayMinutes("[settings]\nY=2\n", 0), "[settings]\nAwayMinutes=0\nY=2\n");
    EXPECT_EQ(WriteAwayMinutes("[Settings]", 7), "[Settings]\r\nAwayMinutes=7");
    EXPECT_EQ(WriteAwayMinutes("[Settings]\r\nAwayMinutes=broken\r\n", 7),
              "[Settings]\r\nAwayMinutes=7\r\n");
    const std::string strWritten = WriteAwayMinutes("\xEF\xBB\xBF; x\r\n[Settings]\r\n", 42);
    EXPECT_EQ(strWritten, "\xEF\xBB\xBF; x\r\n[Settings]\r\nAwayMinutes=42\r\n");
    EXPECT_EQ(ReadAwayMinutes(strWritten), 42);
}

TEST(SettingsText, TheFileLivesBesideTheExecutable) {
    EXPECT_EQ(MakeSettingsFilePath("C:\\Tools\\Quillet\\Quillet.exe"),
              "C:\\Tools\\Quillet\\Quillet.ini");
    EXPECT_EQ(MakeSettingsFilePath("Quillet.exe"), "");
}

TEST_F(SettingsTest, AMissingFileGivesTheDefaultAndIsCreatedBySaving) {
    EXPECT_EQ(Settings().LoadAwayMinutes(), kDefaultAwayMinutes);
    EXPECT_FALSE(std::filesystem::exists(m_strIniPath));
    EXPECT_TRUE(Settings().SaveAwayMinutes(3));
    EXPECT_EQ(ReadIni(), "[Settings]\r\nAwayMinutes=3\r\n");
    EXPECT_EQ(Settings().LoadAwayMinutes(), 3);
    EXPECT_EQ(FolderEntries(), Strings({"Quillet.ini"}));
}

TEST_F(SettingsTest, SavingKeepsTheUsersLinesAndRefusesOutOfRange) {
    const std::string strMine = "; written by hand\r\n[Settings]\r\nAwayMinutes=20\r\n";
    WriteIni(strMine);
    EXPECT_EQ(Settings().LoadAwayMinutes(), 20);
    EXPECT_FALSE(Settings().SaveAwayMinutes(241));
    EXPECT_FALSE(Settings().SaveAwayMinutes(-1));
    EXPECT_EQ(ReadIni(), strMine);
    EXPECT_TRUE(Settings().SaveAwayMinutes(0));
    EXPECT_EQ(ReadIni(), "; written by hand\r\n[Settings]\r\nAwayMinutes=0\r\n");
    EXPECT_EQ(Settings().LoadAwayMinutes(), 0);
}

// A file that is there but cannot be read is never replaced by a file of one setting.
TEST_F(SettingsTest, AnUnreadableFileGivesTheDefaultAndIsNotOverwritten) {
    class CUnreadable : public CFaultyFileSystem {
    public:
        explicit CUnreadable(IFileSystem& real) : CFaultyFileSystem(real, 0) {}
        bool ProbeSize(const std::string&, std::uint64_t&) override { return false; }
        bool ReadAll(const std::string&, std::string&, std::uint64_t) override { return false; }
        bool ReadHead(const std::string&, std::string&, std::size_t) override { return false; }
        bool OpenForUpdate(const std::string&, FileHandle&, bool& bMissing) override {
            bMissing = false;
            return false;
        }
    };
    WriteIni("[Settings]\r\nAwayMinutes=20\r\n; mine\r\n");
    CUnreadable fs(GetPlatformFileSystem());
    EXPECT_EQ(Settings(fs).LoadAwayMinutes(), kDefaultAwayMinutes);
    EXPECT_FALSE(Settings(fs).SaveAwayMinutes(5));
    EXPECT_EQ(ReadIni(), "[Settings]\r\nAwayMinutes=20\r\n; mine\r\n");
    // A name that differs only in case is the same file on Windows.
    std::filesystem::rename(m_strIniPath, m_strDir + "/QUILLET.INI");
    EXPECT_FALSE(Settings(fs).SaveAwayMinutes(5));
    EXPECT_EQ(FolderEntries(), Strings({"QUILLET.INI"}));
}
