// Read-only file mapping with CreateFileMapping / MapViewOfFile.
#include "platform/platform.h"
#include "platform/win32/wide_text_win32.h"

#include <cstdint>
#include <string>
#include <windows.h>

bool mapFileReadOnly(const char* path, MappedFile* file) {
    *file = MappedFile{};
    // Paths are UTF-8, as on Linux, so any name opens; bytes that are not UTF-8 name no file.
    std::wstring widePath;
    if (!path || !widenUtf8(path, MB_ERR_INVALID_CHARS, &widePath)) return false;
    HANDLE handle = CreateFileW(widePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    // An empty file cannot be mapped; a file larger than the address space cannot be either.
    if (!GetFileSizeEx(handle, &size) || size.QuadPart <= 0 ||
        static_cast<unsigned long long>(size.QuadPart) > static_cast<unsigned long long>(SIZE_MAX)) {
        CloseHandle(handle);
        return false;
    }
    HANDLE mapping = CreateFileMappingW(handle, nullptr, PAGE_READONLY, 0, 0, nullptr);
    // The view keeps the mapping and the file open until it is unmapped, so neither handle is held.
    const void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
    if (mapping) CloseHandle(mapping);
    CloseHandle(handle);
    if (!view) return false;
    file->data = static_cast<const unsigned char*>(view);
    file->size = static_cast<size_t>(size.QuadPart);
    return true;
}

void unmapFile(MappedFile* file) {
    if (file->data) UnmapViewOfFile(file->data);
    *file = MappedFile{};
}
