// CString: a small 8-bit string in the system's ANSI code page.
#pragma once

#include <string>

class CString {
public:
    CString() = default;
    CString(const char* psz) : m_str(psz ? psz : "") {}
    CString(const std::string& str) : m_str(str) {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    CString Left(int nCount) const;
    void Format(const char* pszFormat, ...);

    operator const char*() const { return m_str.c_str(); }
    const std::string& Str() const { return m_str; }

    CString& operator=(const char* psz);
    CString& operator+=(const char* psz);
    bool operator==(const char* psz) const { return m_str == (psz ? psz : ""); }
    bool operator!=(const char* psz) const { return !(*this == psz); }

private:
    std::string m_str;
};
