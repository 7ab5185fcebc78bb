#include "WidePath.h"

#include <windows.h>

namespace {

// The longest path the plain form takes, terminator excluded.
const std::size_t kMaxPlainPath = MAX_PATH - 1;

// "\\?\" turns off the path parsing that limits a path to MAX_PATH; it takes only absolute
// paths with backslashes, a share as "\\?\UNC\server\share".
std::wstring AddLongPathPrefix(const std::wstring& strPath) {
    if (strPath.size() <= kMaxPlainPath || strPath.compare(0, 4, L"\\\\?\\") == 0) {
        return strPath;
    }
    if (strPath.compare(0, 2, L"\\\\") == 0) {
        return L"\\\\?\\UNC\\" + strPath.substr(2);
    }
    if (strPath.size() >= 3 && strPath[1] == L':' && strPath[2] == L'\\') {
        return L"\\\\?\\" + strPath;
    }
    return strPath;
}

} // namespace

std::wstring ToWidePath(const std::string& strUtf8Path) {
    if (strUtf8Path.empty()) {
        return std::wstring();
    }
    const int nSize = static_cast<int>(strUtf8Path.size());
    const int nWide =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, strUtf8Path.data(), nSize, nullptr, 0);
    if (nWide <= 0) {
        return std::wstring();
    }
    std::wstring strWide(static_cast<std::size_t>(nWide), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, strUtf8Path.data(), nSize, &strWide[0],
                          nWide);
    return AddLongPathPrefix(strWide);
}

std::string ToUtf8(const std::wstring& strWide) {
    if (strWide.empty()) {
        return std::string();
    }
    const int nSize = static_cast<int>(strWide.size());
    const int nBytes =
        ::WideCharToMultiByte(CP_UTF8, 0, strWide.data(), nSize, nullptr, 0, nullptr, nullptr);
    if (nBytes <= 0) {
        return std::string();
    }
    std::string strUtf8(static_cast<std::size_t>(nBytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, strWide.data(), nSize, &strUtf8[0], nBytes, nullptr, nullptr);
    return strUtf8;
}
