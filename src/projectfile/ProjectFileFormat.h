// How the project file's bytes are read: lines of any length, records of a name line and a time
// line found by counting lines from the start. Every operation finds its
// record through the same scan, so a position in a list on screen is the record it changes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// One line read: its bytes are [nBegin, nEnd) of the content, its line end (CR LF, a bare LF
// or none) runs from nEnd up to nNext. A read at the end of the content gives an empty piece.
struct LinePiece {
    std::size_t nBegin = 0;
    std::size_t nEnd = 0;
    std::size_t nNext = 0;
};

class CLineReader {
public:
    explicit CLineReader(const std::string& strContent) : m_strContent(strContent) {}

    LinePiece ReadLine();
    // True once a read has met the end of the content.
    bool IsEof() const { return m_bEof; }
    // True when every further read gives an empty piece.
    bool IsExhausted() const { return m_nPos >= m_strContent.size(); }

private:
    const std::string& m_strContent;
    std::size_t m_nPos = 0;
    bool m_bEof = false;
};

struct ProjectRecord {
    LinePiece name;
    LinePiece time;
};

// The records as the lists show them, one per entry, in file order.
std::vector<ProjectRecord> ScanRecords(const std::string& strContent);

// The text of a piece: its bytes up to the first NUL.
std::string PieceText(const std::string& strContent, const LinePiece& piece);

// The integer value of a text: white space skipped, an optional sign, then decimal digits.
int ParseLeadingInt(const std::string& strText);

// Exactly nine bytes HHH:MM:SS, minutes and seconds 00 to 59.
bool IsTimeText(const char* pText, std::size_t nLength);

// A total as a user types it, hours of 1 to 3 digits, then 2-digit minutes and seconds below 60,
// blanks around it allowed; strTotal gets the time line's form HHH:MM:SS. False otherwise.
bool ParseTotalEntry(const std::string& strText, std::string& strTotal);

// A name the lists can show and the file keep as one line: 1 to 30 bytes, no CR or LF.
bool IsValidProjectName(const std::string& strName);

// True when the load reads the text as a total, though perhaps not in the written form.
bool IsReadableAsTotal(const std::string& strText);

// The largest total the program writes: 999:59:59, the most a nine-byte time line holds.
constexpr std::int64_t kMaxTotalSeconds = 999 * 3600 + 59 * 60 + 59;

// The seconds a time line stands for, read as people type it: "H:MM:SS" with any number of
// hour digits, blanks around the fields, minutes or seconds of 60 and more carried ("000:75:99"
// is 1:16:39). A line of another shape is read by the fields' places, as always. Never negative.
std::int64_t ParseTotalSeconds(const std::string& strText);

// "%03d:%02d:%02d": nine bytes up to 999:59:59, more hour digits above.
std::string FormatTotal(std::int64_t nSeconds);

// The record at the index, found by scanning only up to it; false when there is none.
bool FindRecord(const std::string& strContent, int nIndex, ProjectRecord& record);

// Tells whether a byte begins a double-byte character of the ANSI code page; null where none do.
using LeadByteTest = bool (*)(unsigned char);

// The text of a piece as a list shows it: up to the first NUL and at most 30 bytes, cut on a
// character boundary.
std::string ListText(const std::string& strContent, const LinePiece& piece,
                     LeadByteTest pfnIsLeadByte);

// The span [first, second) that deleting the record removes: its two lines plus one line end
// next to them.
std::pair<std::size_t, std::size_t> GetRecordSpan(const std::string& strContent,
                                                  const ProjectRecord& record);

// What an append writes after the content and before the new record's name line.
std::string GetAppendPrefix(const std::string& strContent);

// The temporary file that older versions' saves wrote first, in the same folder: "~" + the
// file's name without its extension + ".<process id>-<save number>.tmp".
std::string MakeTempFilePath(const std::string& strPath, std::uint32_t nProcessId,
                             std::uint32_t nSaveNumber);
// True when strName, in the project file's folder, is such a temporary file.
bool IsTempFileName(const std::string& strPath, const std::string& strName);
