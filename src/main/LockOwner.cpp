#include "LockOwner.h"

#include <cstring>

namespace {

const char kHeading[] = "Quillet runs on the project file beside this lock file.";
// The start in the note, in UTC: each run of '#' is one field of LockTime, in its order.
const char kNoteTime[] = "####-##-##T##:##:##Z";
const std::size_t kMaxNameLength = 256;
const char* const kKeys[] = {"computer=", "user=", "since="};

std::size_t FindFileName(const std::string& strPath) {
    const std::size_t nSlash = strPath.find_last_of("\\/");
    return nSlash == std::string::npos ? 0 : nSlash + 1;
}

// A name goes on one line of the note and of the message: no line breaks or other controls.
void AppendName(std::string& strText, const std::string& strName) {
    const std::size_t nAt = strText.size();
    strText.append(strName, 0, kMaxNameLength);
    for (std::size_t i = nAt; i < strText.size(); ++i)
        if (static_cast<unsigned char>(strText[i]) < 0x20 || strText[i] == 0x7F)
            strText[i] = '?';
}

// Fills the runs of '#' in pszPattern with the fields of `time` from nField on, each with
// leading zeros (the C runtime's printf stays out of the program).
void AppendTime(std::string& strText, const LockTime& time, int nField, const char* pszPattern) {
    const int values[] = {time.nYear, time.nMonth,  time.nDay,
                          time.nHour, time.nMinute, time.nSecond};
    while (*pszPattern) {
        std::size_t nWidth = std::strspn(pszPattern, "#");
        if (nWidth == 0) {
            strText += *pszPattern++;
            continue;
        }
        pszPattern += nWidth;
        const std::size_t nAt = strText.size();
        strText.append(nWidth, '0');
        for (int nValue = values[nField++]; nValue > 0 && nWidth > 0; nValue /= 10)
            strText[nAt + --nWidth] = static_cast<char>('0' + nValue % 10);
    }
}

// The text between nAt and nEnd in the form of kNoteTime, with every field in its range.
bool ParseTime(const std::string& strText, std::size_t nAt, std::size_t nEnd, LockTime& time) {
    if (nEnd - nAt != sizeof kNoteTime - 1)
        return false;
    int values[6] = {};
    int nField = -1;
    for (std::size_t i = 0; i < nEnd - nAt; ++i) {
        const char c = strText[nAt + i];
        if (kNoteTime[i] != '#') {
            if (c != kNoteTime[i])
                return false;
            continue;
        }
        if (c < '0' || c > '9')
            return false;
        if (i == 0 || kNoteTime[i - 1] != '#')
            ++nField;
        values[nField] = values[nField] * 10 + (c - '0');
    }
    time = {values[0], values[1], values[2], values[3], values[4], values[5]};
    return time.nMonth >= 1 && time.nMonth <= 12 && time.nDay >= 1 && time.nDay <= 31 &&
           time.nHour <= 23 && time.nMinute <= 59 && time.nSecond <= 60;
}

} // namespace

std::string MakeLockFilePath(const std::string& strProjectFilePath) {
    const std::size_t nNameAt = FindFileName(strProjectFilePath);
    std::size_t nNameEnd = strProjectFilePath.rfind('.');
    if (nNameEnd == std::string::npos || nNameEnd < nNameAt)
        nNameEnd = strProjectFilePath.size();
    std::string strPath(strProjectFilePath, 0, nNameAt);
    strPath += '~';
    strPath.append(strProjectFilePath, nNameAt, nNameEnd - nNameAt);
    strPath += ".lock";
    return strPath;
}

std::string FormatLockOwner(const LockOwner& owner) {
    std::string strNote = kHeading;
    strNote += "\r\n";
    strNote += kKeys[0];
    AppendName(strNote, owner.strComputer);
    strNote += "\r\n";
    strNote += kKeys[1];
    AppendName(strNote, owner.strUser);
    strNote += "\r\n";
    strNote += kKeys[2];
    AppendTime(strNote, owner.since, 0, kNoteTime);
    strNote += "\r\n";
    return strNote;
}

// Lines "key=value" in any order, CR LF or LF; other lines are passed over.
bool ParseLockOwner(const std::string& strContent, LockOwner& owner) {
    LockOwner found;
    bool bTime = false;
    for (std::size_t nAt = 0, nEnd; nAt < strContent.size(); nAt = nEnd + 1) {
        nEnd = strContent.find('\n', nAt);
        if (nEnd == std::string::npos)
            nEnd = strContent.size();
        std::size_t nValueEnd = nEnd;
        if (nValueEnd > nAt && strContent[nValueEnd - 1] == '\r')
            --nValueEnd;
        for (int nKey = 0; nKey < 3; ++nKey) {
            const std::size_t nKeyLength = std::strlen(kKeys[nKey]);
            if (nValueEnd - nAt < nKeyLength ||
                strContent.compare(nAt, nKeyLength, kKeys[nKey]) != 0)
                continue;
            if (nKey == 2) {
                bTime = ParseTime(strContent, nAt + nKeyLength, nValueEnd, found.since);
                continue;
            }
            std::string& strName = nKey == 0 ? found.strComputer : found.strUser;
            strName.clear();
            AppendName(strName, strContent.substr(nAt + nKeyLength, nValueEnd - nAt - nKeyLength));
        }
    }
    if (found.strComputer.empty() || found.strUser.empty() || !bTime)
        return false;
    owner = found;
    return true;
}

std::string FormatInUseMessage(const std::string& strProjectFilePath, const LockOwner* pOwner,
                               const LockTime& now) {
    std::string strMessage(strProjectFilePath, FindFileName(strProjectFilePath));
    if (!pOwner) {
        strMessage += " is in use by Quillet on another computer.";
    } else {
        const LockTime& since = pOwner->since;
        strMessage += " is in use by Quillet on computer ";
        strMessage += pOwner->strComputer;
        strMessage += " (user ";
        strMessage += pOwner->strUser;
        strMessage += ") since ";
        if (since.nYear == now.nYear && since.nMonth == now.nMonth && since.nDay == now.nDay)
            AppendTime(strMessage, since, 3, "##:##.");
        else
            AppendTime(strMessage, since, 0, "####-##-## ##:##.");
    }
    strMessage += "\nClose Quillet there before starting it here.";
    return strMessage;
}
