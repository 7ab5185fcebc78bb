// Quillet.ini beside the executable: the settings a user may also change with a text editor.
// Portable, so that its reading and writing are tested natively.
#pragma once

#include <string>

class IFileSystem;

constexpr int kDefaultAwayMinutes = 10;
constexpr int kMaxAwayMinutes = 240; // 0 turns the away check off

// Directory of the executable (cut after its last backslash) plus "Quillet.ini"; empty when the
// module name holds no backslash.
std::string MakeSettingsFilePath(const std::string& strModuleFileName);

// A number of minutes as typed: decimal digits with blanks around them, 0 to kMaxAwayMinutes.
bool ParseAwayMinutes(const std::string& strText, int& nMinutes);
// The value of a key in a section of the ini text, up to a comment; bFound false when missing.
std::string ReadIniValue(const std::string& strIni, const char* pszSection, const char* pszKey,
                         bool& bFound);
// The ini text with the key set to strValue; every other line stays as it was.
std::string WriteIniValue(const std::string& strIni, const char* pszSection, const char* pszKey,
                          const std::string& strValue);
// AwayMinutes in the [Settings] section of the ini text; the default when it is missing or its
// value is broken or out of range.
int ReadAwayMinutes(const std::string& strIni);
// The ini text with AwayMinutes set to nMinutes; every other line stays as it was.
std::string WriteAwayMinutes(const std::string& strIni, int nMinutes);

class CSettingsFile {
public:
    CSettingsFile(std::string strPath, IFileSystem& fs);

    // The default when the file is missing or cannot be read.
    int LoadAwayMinutes() const;
    // False, with the file unchanged, when the value is out of range, or the file exists but
    // cannot be read, or cannot be written.
    bool SaveAwayMinutes(int nMinutes) const;
    // Away time a count left out because nobody was there to answer the question about it (the
    // session ended, the program was ended): [Away] LeftOutProject and LeftOutMinutes. Loading
    // gives false when there is none; saving 0 minutes clears it.
    bool LoadAwayNote(std::string& strProject, int& nMinutes) const;
    bool SaveAwayNote(const std::string& strProject, int nMinutes) const;

private:
    enum class ReadResult { Read, Missing, Unreadable };
    ReadResult Read(std::string& strText) const;
    bool Save(const std::string& strText) const;

    std::string m_strPath;
    IFileSystem& m_fs;
};
