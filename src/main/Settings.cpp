#include "Settings.h"

#include "FileSystem.h"
#include "ProjectFile.h"
#include "ProjectFileFormat.h"

#include <utility>

namespace {

const char kSettingsFileName[] = "Quillet.ini";
const char kSection[] = "Settings";
const char kAwayKey[] = "AwayMinutes";
const char kNoteSection[] = "Away";
const char kNoteProjectKey[] = "LeftOutProject";
const char kNoteMinutesKey[] = "LeftOutMinutes";
const char kUtf8Bom[] = "\xEF\xBB\xBF";
const char kBlanks[] = " \t\r";
// A settings file is a few lines; anything much larger is no settings file of ours.
const std::uint64_t kMaxSettingsSize = 64u << 10;

std::string Trim(const std::string& strText) {
    const std::size_t nFirst = strText.find_first_not_of(kBlanks);
    if (nFirst == std::string::npos) {
        return std::string();
    }
    return strText.substr(nFirst, strText.find_last_not_of(kBlanks) - nFirst + 1);
}

bool EqualsIgnoringCase(const std::string& strText, const char* pszWord) {
    std::size_t i = 0;
    for (; i < strText.size() && pszWord[i] != '\0'; ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(strText[i]) != lower(pszWord[i])) {
            return false;
        }
    }
    return i == strText.size() && pszWord[i] == '\0';
}

// Where the away limit stands in the text: the first AwayMinutes line of a [Settings] section
// (as Windows' own profile functions take the first), its value up to a comment; and the first
// [Settings] header, where a missing key is added. Names compare without regard to case.
struct IniScan {
    bool bKeyFound = false;
    std::size_t nValueBegin = 0;
    std::size_t nValueEnd = 0;
    bool bSectionFound = false;
    LinePiece section;
};

IniScan ScanIni(const std::string& strIni, const char* pszSection, const char* pszKey) {
    IniScan scan;
    CLineReader reader(strIni);
    bool bInSection = false;
    while (!reader.IsExhausted()) {
        const LinePiece line = reader.ReadLine();
        const std::size_t nBegin =
            (line.nBegin == 0 && strIni.rfind(kUtf8Bom, 0) == 0) ? 3 : line.nBegin;
        const std::string strText = Trim(strIni.substr(nBegin, line.nEnd - nBegin));
        if (strText.empty() || strText[0] == ';' || strText[0] == '#') {
            continue;
        }
        if (strText[0] == '[') {
            bInSection = strText.back() == ']' &&
                         EqualsIgnoringCase(Trim(strText.substr(1, strText.size() - 2)), pszSection);
            if (bInSection && !scan.bSectionFound) {
                scan.bSectionFound = true;
                scan.section = line;
            }
            continue;
        }
        const std::size_t nEquals = strText.find('=');
        if (!bInSection || nEquals == std::string::npos ||
            !EqualsIgnoringCase(Trim(strText.substr(0, nEquals)), pszKey)) {
            continue;
        }
        scan.bKeyFound = true;
        std::size_t nValue = strIni.find('=', nBegin) + 1;
        while (nValue < line.nEnd && (strIni[nValue] == ' ' || strIni[nValue] == '\t')) {
            ++nValue;
        }
        std::size_t nEnd = strIni.find_first_of(";#", nValue);
        nEnd = nEnd < line.nEnd ? nEnd : line.nEnd;
        while (nEnd > nValue && std::string(kBlanks).find(strIni[nEnd - 1]) != std::string::npos) {
            --nEnd;
        }
        scan.nValueBegin = nValue;
        scan.nValueEnd = nEnd;
        return scan;
    }
    return scan;
}

// New lines follow the file's own line ends: CR LF unless its first line ends with a bare LF.
std::string LineEndOf(const std::string& strText) {
    const std::size_t nLf = strText.find('\n');
    return (nLf != std::string::npos && (nLf == 0 || strText[nLf - 1] != '\r')) ? "\n" : "\r\n";
}

bool HasFileNamed(const std::vector<std::string>& names, const std::string& strName) {
    for (const std::string& strEntry : names) {
        if (EqualsIgnoringCase(strEntry, strName.c_str())) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string MakeSettingsFilePath(const std::string& strModuleFileName) {
    return MakePathBesideExe(strModuleFileName, kSettingsFileName);
}

bool ParseAwayMinutes(const std::string& strText, int& nMinutes) {
    const std::string strValue = Trim(strText);
    if (strValue.empty() || strValue.size() > 6 ||
        strValue.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    int nValue = 0;
    for (char c : strValue) {
        nValue = nValue * 10 + (c - '0');
    }
    if (nValue > kMaxAwayMinutes) {
        return false;
    }
    nMinutes = nValue;
    return true;
}

std::string ReadIniValue(const std::string& strIni, const char* pszSection, const char* pszKey,
                         bool& bFound) {
    const IniScan scan = ScanIni(strIni, pszSection, pszKey);
    bFound = scan.bKeyFound;
    return bFound ? strIni.substr(scan.nValueBegin, scan.nValueEnd - scan.nValueBegin)
                  : std::string();
}

int ReadAwayMinutes(const std::string& strIni) {
    bool bFound = false;
    const std::string strValue = ReadIniValue(strIni, kSection, kAwayKey, bFound);
    int nMinutes = kDefaultAwayMinutes;
    return bFound && ParseAwayMinutes(strValue, nMinutes) ? nMinutes : kDefaultAwayMinutes;
}

// The value alone is replaced, so the key's spelling and a comment after it stay; a missing key
// goes right under the first header of its section, a missing section at the end.
std::string WriteIniValue(const std::string& strIni, const char* pszSection, const char* pszKey,
                          const std::string& strValue) {
    const IniScan scan = ScanIni(strIni, pszSection, pszKey);
    const std::string strLineEnd = LineEndOf(strIni);
    const std::string strKeyLine = std::string(pszKey) + "=" + strValue;
    std::string strResult = strIni;
    if (scan.bKeyFound) {
        strResult.replace(scan.nValueBegin, scan.nValueEnd - scan.nValueBegin, strValue);
    } else if (scan.bSectionFound && scan.section.nNext > scan.section.nEnd) {
        strResult.insert(scan.section.nNext, strKeyLine + strLineEnd);
    } else if (scan.bSectionFound) {
        strResult.insert(scan.section.nEnd, strLineEnd + strKeyLine);
    } else {
        if (!strResult.empty() && strResult.back() != '\n') {
            strResult += strLineEnd;
        }
        strResult += "[" + std::string(pszSection) + "]" + strLineEnd + strKeyLine + strLineEnd;
    }
    return strResult;
}

std::string WriteAwayMinutes(const std::string& strIni, int nMinutes) {
    return WriteIniValue(strIni, kSection, kAwayKey, std::to_string(nMinutes));
}

CSettingsFile::CSettingsFile(std::string strPath, IFileSystem& fs)
    : m_strPath(std::move(strPath)), m_fs(fs) {}

// A file that is there but cannot be read is told apart from a missing one, so that a save
// never replaces what a user wrote into it with a file of one setting.
CSettingsFile::ReadResult CSettingsFile::Read(std::string& strText) const {
    if (m_strPath.empty()) {
        return ReadResult::Unreadable;
    }
    if (m_fs.ReadAll(m_strPath, strText, kMaxSettingsSize)) {
        return ReadResult::Read;
    }
    strText.clear();
    const std::size_t nSeparator = m_strPath.find_last_of("\\/");
    const std::string strFolder = m_strPath.substr(0, nSeparator + 1);
    return HasFileNamed(m_fs.ListFolder(strFolder), m_strPath.substr(nSeparator + 1))
               ? ReadResult::Unreadable
               : ReadResult::Missing;
}

int CSettingsFile::LoadAwayMinutes() const {
    std::string strText;
    return Read(strText) == ReadResult::Read ? ReadAwayMinutes(strText) : kDefaultAwayMinutes;
}

bool CSettingsFile::SaveAwayMinutes(int nMinutes) const {
    std::string strText;
    const ReadResult result = Read(strText);
    if (nMinutes < 0 || nMinutes > kMaxAwayMinutes || result == ReadResult::Unreadable) {
        return false;
    }
    const std::string strNew = WriteAwayMinutes(strText, nMinutes);
    return (result == ReadResult::Read && strNew == strText) || Save(strNew);
}

// Rewritten whole in place, so a link to the file and its attributes stay; a save cut short may
// leave a line the reader ignores, which then means its default.
bool CSettingsFile::Save(const std::string& strText) const {
    IFileSystem::FileHandle hFile = 0;
    bool bMissing = false;
    if (!m_fs.OpenForUpdate(m_strPath, hFile, bMissing) &&
        !(bMissing && m_fs.CreateNew(m_strPath, false, hFile))) {
        return false;
    }
    const bool bOk = m_fs.WriteAt(hFile, 0, strText.data(), strText.size()) &&
                     m_fs.SetLength(hFile, strText.size()) && m_fs.Flush(hFile);
    return m_fs.Close(hFile) && bOk;
}

// The note of away time left out: the project and the minutes; none while the minutes are 0.
bool CSettingsFile::LoadAwayNote(std::string& strProject, int& nMinutes) const {
    std::string strText;
    bool bProject = false, bMinutes = false;
    if (Read(strText) != ReadResult::Read)
        return false;
    strProject = ReadIniValue(strText, kNoteSection, kNoteProjectKey, bProject);
    const std::string strMinutes = ReadIniValue(strText, kNoteSection, kNoteMinutesKey, bMinutes);
    nMinutes = 0;
    for (char c : strMinutes) {
        if (c < '0' || c > '9' || nMinutes > 100000)
            return false;
        nMinutes = nMinutes * 10 + (c - '0');
    }
    return bProject && bMinutes && nMinutes > 0;
}

bool CSettingsFile::SaveAwayNote(const std::string& strProject, int nMinutes) const {
    std::string strText;
    if (Read(strText) == ReadResult::Unreadable)
        return false;
    const std::string strNew =
        WriteIniValue(WriteIniValue(strText, kNoteSection, kNoteProjectKey, strProject),
                      kNoteSection, kNoteMinutesKey, std::to_string(nMinutes));
    return strNew == strText || Save(strNew);
}
