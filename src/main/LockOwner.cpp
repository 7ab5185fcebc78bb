#include "LockOwner.h"

namespace {

const char kHeading[] = "Quillet runs on the project file beside this lock file.";
const std::size_t kMaxNameLength = 256;

std::size_t FindFileName(const std::string& strPath) {
    const std::size_t nSlash = strPath.find_last_of("\\/");
    return nSlash == std::string::npos ? 0 : nSlash + 1;
}

// A name goes on one line of the note and of the message: no line breaks or other controls.
std::string CleanName(const std::string& strName) {
    std::string strClean = strName.substr(0, kMaxNameLength);
    for (char& c : strClean)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    return strClean;
}

// The number with leading zeros to nDigits (the C runtime's printf stays out of the program).
std::string Digits(int nValue, int nDigits) {
    std::string strDigits(static_cast<std::size_t>(nDigits), '0');
    for (int i = nDigits - 1; i >= 0 && nValue > 0; --i, nValue /= 10)
        strDigits[static_cast<std::size_t>(i)] = static_cast<char>('0' + nValue % 10);
    return strDigits;
}

std::string FormatDate(const LockTime& time) {
    return Digits(time.nYear, 4) + '-' + Digits(time.nMonth, 2) + '-' + Digits(time.nDay, 2);
}

std::string FormatHourMinute(const LockTime& time) {
    return Digits(time.nHour, 2) + ':' + Digits(time.nMinute, 2);
}

// Exactly nDigits decimal digits at nAt.
bool ReadNumber(const std::string& strText, std::size_t nAt, std::size_t nDigits, int& nValue) {
    if (nAt + nDigits > strText.size())
        return false;
    nValue = 0;
    for (std::size_t i = nAt; i < nAt + nDigits; ++i) {
        if (strText[i] < '0' || strText[i] > '9')
            return false;
        nValue = nValue * 10 + (strText[i] - '0');
    }
    return true;
}

// "2026-12-08T09:12:33Z"
bool ParseTime(const std::string& strText, LockTime& time) {
    if (strText.size() != 20 || strText[4] != '-' || strText[7] != '-' || strText[10] != 'T' ||
        strText[13] != ':' || strText[16] != ':' || strText[19] != 'Z')
        return false;
    return ReadNumber(strText, 0, 4, time.nYear) && ReadNumber(strText, 5, 2, time.nMonth) &&
           ReadNumber(strText, 8, 2, time.nDay) && ReadNumber(strText, 11, 2, time.nHour) &&
           ReadNumber(strText, 14, 2, time.nMinute) && ReadNumber(strText, 17, 2, time.nSecond) &&
           time.nMonth >= 1 && time.nMonth <= 12 && time.nDay >= 1 && time.nDay <= 31 &&
           time.nHour <= 23 && time.nMinute <= 59 && time.nSecond <= 60;
}

} // namespace

std::string MakeLockFilePath(const std::string& strProjectFilePath) {
    const std::size_t nNameAt = FindFileName(strProjectFilePath);
    std::size_t nNameEnd = strProjectFilePath.rfind('.');
    if (nNameEnd == std::string::npos || nNameEnd < nNameAt)
        nNameEnd = strProjectFilePath.size();
    return strProjectFilePath.substr(0, nNameAt) + '~' +
           strProjectFilePath.substr(nNameAt, nNameEnd - nNameAt) + ".lock";
}

std::string FormatLockOwner(const LockOwner& owner) {
    const std::string strTime = FormatDate(owner.since) + 'T' + FormatHourMinute(owner.since) +
                                ':' + Digits(owner.since.nSecond, 2) + 'Z';
    return std::string(kHeading) + "\r\ncomputer=" + CleanName(owner.strComputer) +
           "\r\nuser=" + CleanName(owner.strUser) + "\r\nsince=" + strTime + "\r\n";
}

// Lines "key=value" in any order, CR LF or LF; other lines are passed over.
bool ParseLockOwner(const std::string& strContent, LockOwner& owner) {
    LockOwner found;
    bool bTime = false;
    std::size_t nAt = 0;
    while (nAt < strContent.size()) {
        std::size_t nEnd = strContent.find('\n', nAt);
        if (nEnd == std::string::npos)
            nEnd = strContent.size();
        std::string strLine = strContent.substr(nAt, nEnd - nAt);
        nAt = nEnd + 1;
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();
        const std::size_t nEquals = strLine.find('=');
        if (nEquals == std::string::npos)
            continue;
        const std::string strKey = strLine.substr(0, nEquals);
        const std::string strValue = strLine.substr(nEquals + 1);
        if (strKey == "computer")
            found.strComputer = CleanName(strValue);
        else if (strKey == "user")
            found.strUser = CleanName(strValue);
        else if (strKey == "since")
            bTime = ParseTime(strValue, found.since);
    }
    if (found.strComputer.empty() || found.strUser.empty() || !bTime)
        return false;
    owner = found;
    return true;
}

std::string FormatInUseMessage(const std::string& strProjectFilePath, const LockOwner* pOwner,
                               const LockTime& now) {
    const std::string strFileName = strProjectFilePath.substr(FindFileName(strProjectFilePath));
    const std::string strAdvice = "\nClose Quillet there before starting it here.";
    if (!pOwner)
        return strFileName + " is in use by Quillet on another computer." + strAdvice;
    const LockTime& since = pOwner->since;
    std::string strSince = FormatHourMinute(since);
    if (since.nYear != now.nYear || since.nMonth != now.nMonth || since.nDay != now.nDay)
        strSince = FormatDate(since) + ' ' + strSince;
    return strFileName + " is in use by Quillet on computer " + pOwner->strComputer + " (user " +
           pOwner->strUser + ") since " + strSince + "." + strAdvice;
}
