// UTF-8, the program's text and path encoding on every system, widened to the UTF-16 that the wide
// Win32 functions take. Used by the Win32 files of platform/ only.
#pragma once

#include <string>
#include <windows.h>

// `flags` 0 shows bytes that are not UTF-8 as replacement characters; MB_ERR_INVALID_CHARS refuses
// them instead (false).
inline bool widenUtf8(const char* utf8, DWORD flags, std::wstring* wide) {
    const int length = MultiByteToWideChar(CP_UTF8, flags, utf8, -1, nullptr, 0);
    if (length <= 0) return false;
    wide->assign(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, flags, utf8, -1, &(*wide)[0], length);
    wide->resize(static_cast<size_t>(length - 1)); // without the terminating NUL
    return true;
}
