#include "ProjectFileFormat.h"

#include <algorithm>
#include <cstring>

namespace {

const std::size_t kTimeLength = 9;
// A list shows at most this many bytes of a line: the longest name the program writes.
const std::size_t kMaxListBytes = 30;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

} // namespace

// A line ends at LF, with a CR right before it belonging to the line end; a line is one line
// whatever its length. The read that meets the end of the content sets the end flag.
LinePiece CLineReader::ReadLine() {
    const std::string& s = m_strContent;
    LinePiece piece;
    piece.nBegin = m_nPos;
    const std::size_t nLf = s.find('\n', m_nPos);
    if (nLf == std::string::npos) {
        m_nPos = s.size();
        m_bEof = true;
        piece.nEnd = piece.nNext = m_nPos;
        return piece;
    }
    piece.nEnd = (nLf > m_nPos && s[nLf - 1] == '\r') ? nLf - 1 : nLf;
    m_nPos = piece.nNext = nLf + 1;
    return piece;
}

// The lists' loop: the end is tested before each record, and a record is counted even when
// its reads met the end, which gives the extra empty entry after a trailing line end.
std::vector<ProjectRecord> ScanRecords(const std::string& strContent) {
    std::vector<ProjectRecord> records;
    // Two lines a record: counting the line ends first spares the growing copies.
    records.reserve(
        static_cast<std::size_t>(std::count(strContent.begin(), strContent.end(), '\n')) / 2 + 1);
    CLineReader reader(strContent);
    while (!reader.IsEof()) {
        ProjectRecord record;
        record.name = reader.ReadLine();
        record.time = reader.ReadLine();
        records.push_back(record);
    }
    return records;
}

std::string PieceText(const std::string& strContent, const LinePiece& piece) {
    const char* pBegin = strContent.data() + piece.nBegin;
    const std::size_t nLength = piece.nEnd - piece.nBegin;
    const void* pNul = std::memchr(pBegin, '\0', nLength);
    return std::string(pBegin, pNul ? static_cast<const char*>(pNul) : pBegin + nLength);
}

int ParseLeadingInt(const std::string& strText) {
    std::size_t i = 0;
    while (i < strText.size() && IsSpace(strText[i])) {
        ++i;
    }
    bool bNegative = false;
    if (i < strText.size() && (strText[i] == '+' || strText[i] == '-')) {
        bNegative = strText[i++] == '-';
    }
    long long nValue = 0;
    for (; i < strText.size() && IsDigit(strText[i]) && nValue <= 0x7FFFFFFF; ++i) {
        nValue = nValue * 10 + (strText[i] - '0');
    }
    if (nValue > 0x7FFFFFFF) {
        nValue = 0x7FFFFFFF;
    }
    return static_cast<int>(bNegative ? -nValue : nValue);
}

bool IsTimeText(const char* pText, std::size_t nLength) {
    if (nLength != kTimeLength) {
        return false;
    }
    for (std::size_t i = 0; i < kTimeLength; ++i) {
        const bool bColon = (i == 3 || i == 6);
        if (bColon ? pText[i] != ':' : !IsDigit(pText[i])) {
            return false;
        }
    }
    return pText[4] <= '5' && pText[7] <= '5';
}

namespace {

// A field of "H:MM:SS": blanks, an optional sign, then digits and blanks only; false otherwise.
bool ParseField(const std::string& strField, std::int64_t& nValue) {
    std::size_t i = strField.find_first_not_of(" \t");
    if (i == std::string::npos) {
        return false;
    }
    const bool bNegative = strField[i] == '-';
    i += (strField[i] == '-' || strField[i] == '+') ? 1 : 0;
    const std::size_t nEnd = strField.find_last_not_of(" \t") + 1;
    if (i >= nEnd || nEnd - i > 12) {
        return false;
    }
    nValue = 0;
    for (; i < nEnd; ++i) {
        if (!IsDigit(strField[i])) {
            return false;
        }
        nValue = nValue * 10 + (strField[i] - '0');
    }
    nValue = bNegative ? -nValue : nValue;
    return true;
}

} // namespace

std::int64_t ParseTotalSeconds(const std::string& strText) {
    const std::size_t nFirst = strText.find(':');
    const std::size_t nSecond = nFirst == std::string::npos ? nFirst : strText.find(':', nFirst + 1);
    std::int64_t nHours = 0, nMinutes = 0, nSeconds = 0;
    const bool bFields = nSecond != std::string::npos &&
                         strText.find(':', nSecond + 1) == std::string::npos &&
                         ParseField(strText.substr(0, nFirst), nHours) &&
                         ParseField(strText.substr(nFirst + 1, nSecond - nFirst - 1), nMinutes) &&
                         ParseField(strText.substr(nSecond + 1), nSeconds);
    if (!bFields) {
        const std::size_t nLength = strText.size();
        nHours = ParseLeadingInt(strText.substr(0, 3));
        nMinutes = ParseLeadingInt(nLength > 4 ? strText.substr(4, 2) : std::string());
        nSeconds = ParseLeadingInt(strText.substr(nLength > 2 ? nLength - 2 : 0));
    }
    const std::int64_t nTotal = nHours * 3600 + nMinutes * 60 + nSeconds;
    return nTotal > 0 ? nTotal : 0;
}

// By hand rather than through printf, which would bring the C runtime's formatting into the exe.
std::string FormatTotal(std::int64_t nSeconds) {
    std::string strHours = std::to_string(nSeconds / 3600);
    if (strHours.size() < 3) {
        strHours.insert(0, 3 - strHours.size(), '0');
    }
    const int nMinutes = static_cast<int>(nSeconds / 60 % 60);
    const int nRest = static_cast<int>(nSeconds % 60);
    const char szTail[] = {':', char('0' + nMinutes / 10), char('0' + nMinutes % 10), ':',
                           char('0' + nRest / 10), char('0' + nRest % 10), '\0'};
    return strHours + szTail;
}

// What the load turns into a total by its fields' integer values: digits, colons, signs and
// blanks, with at least one digit. Anything else (a name, an empty line) is no time line.
bool IsReadableAsTotal(const std::string& strText) {
    bool bDigit = false;
    for (char c : strText) {
        bDigit = bDigit || IsDigit(c);
        if (!IsDigit(c) && c != ':' && c != '+' && c != '-' && !IsSpace(c)) {
            return false;
        }
    }
    return bDigit;
}

// The lists' own count: record k exists while the end has not been met before its name line.
bool FindRecord(const std::string& strContent, int nIndex, ProjectRecord& record) {
    CLineReader reader(strContent);
    for (int i = 0; i >= 0 && i <= nIndex && !reader.IsEof(); ++i) {
        record.name = reader.ReadLine();
        record.time = reader.ReadLine();
        if (i == nIndex) {
            return true;
        }
    }
    return false;
}

// Cut before the first character that would not fit whole; a lead byte at the very end of the
// text counts as a character of its own.
std::string ListText(const std::string& strContent, const LinePiece& piece,
                     LeadByteTest pfnIsLeadByte) {
    std::string strText = PieceText(strContent, piece);
    // Lead bytes are 0x81 and up in every double-byte code page, so an ASCII byte, the most of
    // any name, is not asked about.
    std::size_t nLength = 0;
    while (nLength < strText.size()) {
        const unsigned char c = static_cast<unsigned char>(strText[nLength]);
        const bool bLead = c >= 0x80 && pfnIsLeadByte != nullptr && nLength + 1 < strText.size() &&
                           pfnIsLeadByte(c);
        const std::size_t nNext = nLength + (bLead ? 2 : 1);
        if (nNext > kMaxListBytes) {
            break;
        }
        nLength = nNext;
    }
    strText.resize(nLength);
    return strText;
}

// The line end in front of the name line where there is one (every record but the first),
// else the one after the time line; so the file keeps no line end at its end and, on a
// well-formed file, exactly the CR LF pairs of the remaining records. A line end is never
// split: where a CR left in front would meet an LF left behind (a hand edit's "\r\r\n" before
// the record, a bare LF after it) and so cut that CR off the line before, the line end after
// the record goes instead.
std::pair<std::size_t, std::size_t> GetRecordSpan(const std::string& strContent,
                                                  const ProjectRecord& record) {
    std::size_t nFrom = record.name.nBegin;
    if (nFrom == 0 || strContent[nFrom - 1] != '\n') {
        return {nFrom, record.time.nNext};
    }
    const std::size_t nLineEnd = nFrom - ((nFrom >= 2 && strContent[nFrom - 2] == '\r') ? 2 : 1);
    const std::size_t nTo = record.time.nEnd;
    const bool bJoinsCrToLf = nLineEnd > 0 && strContent[nLineEnd - 1] == '\r' &&
                              nTo < strContent.size() && strContent[nTo] == '\n';
    if (bJoinsCrToLf) {
        return {nFrom, record.time.nNext};
    }
    return {nLineEnd, nTo};
}

// A line end after the last record, so that the new record begins on a line of its own; none
// where the file already ends with one, whose empty entry the new record then takes. A last
// record without a time line (a hand-edited file) first gets the zero total it is read as:
// else the new name would be read as its time line and "000:00:00" as a name.
std::string GetAppendPrefix(const std::string& strContent) {
    if (strContent.empty()) {
        return std::string();
    }
    const ProjectRecord last = ScanRecords(strContent).back();
    const std::size_t nSize = strContent.size();
    const bool bEndsWithLineEnd = strContent[nSize - 1] == '\n';
    if (last.name.nBegin == nSize) {
        return std::string();
    }
    if (last.time.nBegin == nSize) {
        return bEndsWithLineEnd ? "000:00:00\r\n" : "\r\n000:00:00\r\n";
    }
    return "\r\n";
}

std::string MakeTempFilePath(const std::string& strPath, std::uint32_t nProcessId,
                             std::uint32_t nSaveNumber) {
    const std::size_t nNameAt = strPath.find_last_of("\\/") + 1; // 0 when there is none
    const std::size_t nDot = strPath.rfind('.');
    const std::size_t nNameEnd =
        (nDot != std::string::npos && nDot > nNameAt) ? nDot : strPath.size();
    return strPath.substr(0, nNameAt) + '~' + strPath.substr(nNameAt, nNameEnd - nNameAt) + '.' +
           std::to_string(nProcessId) + '-' + std::to_string(nSaveNumber) + ".tmp";
}

// Any save's name for this project file, whatever its process and save number: the prefix
// that MakeTempFilePath gives, then digits, "-", digits and ".tmp".
bool IsTempFileName(const std::string& strPath, const std::string& strName) {
    const std::string strSample = MakeTempFilePath(strPath, 0, 0);
    const std::string strPrefix =
        strSample.substr(strSample.find_last_of("\\/") + 1, std::string::npos);
    const std::size_t nPrefix = strPrefix.size() - std::strlen("0-0.tmp");
    const std::string strSuffix = ".tmp";
    if (strName.size() < nPrefix + strSuffix.size() ||
        strName.compare(0, nPrefix, strPrefix, 0, nPrefix) != 0 ||
        strName.compare(strName.size() - strSuffix.size(), strSuffix.size(), strSuffix) != 0) {
        return false;
    }
    const std::string strNumbers =
        strName.substr(nPrefix, strName.size() - nPrefix - strSuffix.size());
    const std::size_t nDash = strNumbers.find('-');
    const auto isDigits = [](const std::string& strText) {
        return !strText.empty() && strText.find_first_not_of("0123456789") == std::string::npos;
    };
    return nDash != std::string::npos && isDigits(strNumbers.substr(0, nDash)) &&
           isDigits(strNumbers.substr(nDash + 1));
}
