// Windows only: the paths of the program's files travel as UTF-8 and meet the system in their
// wide form, so a folder outside the ANSI code page and a path past MAX_PATH both work.
#pragma once

#include <string>

// The wide form of a UTF-8 path, with the "\\?\" prefix when it is too long for the plain form.
// Empty when the bytes are not UTF-8.
std::wstring ToWidePath(const std::string& strUtf8Path);
std::string ToUtf8(const std::wstring& strWide);
