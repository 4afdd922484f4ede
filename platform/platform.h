// Operating-system services: read-only file mapping and the modal message box.
// One implementation per system: *_posix / *_gtk on Linux, *_win32 on Windows.
#pragma once

#include <cstddef>
#include <cstdint>

// A whole file mapped read-only. `data` is null when nothing is mapped.
struct MappedFile {
    const unsigned char* data = nullptr;
    size_t size = 0;
    intptr_t fileHandle = -1;     // descriptor or HANDLE, released by unmapFile
    intptr_t mappingHandle = -1;  // Win32 mapping object; unused on POSIX
};

// Maps all of `path` for reading. Fails (returns false, holds nothing) when the file cannot be
// opened or mapped; an empty file cannot be mapped.
bool mapFileReadOnly(const char* path, MappedFile* file);

// Releases the view, the mapping and the file, each only if it was obtained.
void unmapFile(MappedFile* file);

// Shows a modal box with `caption` as its title, `text` (UTF-8, lines split by '\n') as its message and
// one OK button; returns once the user dismisses it. Where no box can be shown it returns at once.
void showMessageBox(const char* caption, const char* text);
