// Read-only file mapping with CreateFileMapping / MapViewOfFile.
#include "platform/platform.h"

#include <windows.h>

bool mapFileReadOnly(const char* path, MappedFile* file) {
    *file = MappedFile{};
    if (!path) return false;
    HANDLE handle = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    // An empty file cannot be mapped; a file larger than the address space cannot be either.
    if (!GetFileSizeEx(handle, &size) || size.QuadPart <= 0 ||
        static_cast<unsigned long long>(size.QuadPart) > static_cast<unsigned long long>(SIZE_MAX)) {
        CloseHandle(handle);
        return false;
    }
    HANDLE mapping = CreateFileMappingA(handle, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!mapping) {
        CloseHandle(handle);
        return false;
    }
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    if (!view) {
        CloseHandle(mapping);
        CloseHandle(handle);
        return false;
    }
    file->data = static_cast<const unsigned char*>(view);
    file->size = static_cast<size_t>(size.QuadPart);
    file->fileHandle = reinterpret_cast<intptr_t>(handle);
    file->mappingHandle = reinterpret_cast<intptr_t>(mapping);
    return true;
}

void unmapFile(MappedFile* file) {
    if (file->data) UnmapViewOfFile(file->data);
    if (file->mappingHandle != -1) CloseHandle(reinterpret_cast<HANDLE>(file->mappingHandle));
    if (file->fileHandle != -1) CloseHandle(reinterpret_cast<HANDLE>(file->fileHandle));
    *file = MappedFile{};
}
