#include "String.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

CString CString::Left(int nCount) const {
    if (nCount < 0)
        nCount = 0;
    return CString(m_str.substr(0, static_cast<size_t>(nCount)));
}

#ifdef _WIN32
// On Windows user32's formatter, so that the C runtime's printf stays out of the exe. It writes at most 1024 characters and knows no 64-bit or floating-point fields; the
// program formats only short texts of ints.
void CString::Format(const char* pszFormat, ...) {
    char szBuffer[1025];
    va_list args;
    va_start(args, pszFormat);
    const int nLength = ::wvsprintfA(szBuffer, pszFormat, args);
    va_end(args);
    m_str.assign(szBuffer, static_cast<size_t>(nLength > 0 ? nLength : 0));
}
#else
void CString::Format(const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    va_list copy;
    va_copy(copy, args);
    int nLength = std::vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (nLength < 0) {
        m_str.clear();
    } else {
        std::vector<char> buffer(static_cast<size_t>(nLength) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), pszFormat, args);
        m_str.assign(buffer.data(), static_cast<size_t>(nLength));
    }
    va_end(args);
}
#endif

CString& CString::operator=(const char* psz) {
    m_str = psz ? psz : "";
    return *this;
}

CString& CString::operator+=(const char* psz) {
    if (psz)
        m_str += psz;
    return *this;
}
