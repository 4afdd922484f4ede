// Whether a body image's path, or its folder, is worth loading from. No named pipe or device lives
// among ordinary files on Windows, so nothing here waits.
#include "platform/platform.h"

#include <cstdio>
#include <string>
#include <windows.h>

namespace {

bool nothingThere(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

} // namespace

bool isWorthLoading(const char* path) {
    FILE* file = std::fopen(path, "r");
    if (file) {
        static_cast<void>(std::fclose(file)); // only opened to see that it can be
        return true;
    }
    // A file the user may not read, or one another program holds locked, is there all the same:
    // the loader's box says it cannot be opened.
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES || !nothingThere(GetLastError());
}

FolderState folderState(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return nothingThere(GetLastError()) ? FolderState::absent : FolderState::unusable;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return FolderState::unusable;
    // Listing it is what a folder the user may not enter refuses; an empty folder still lists "."
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(path) + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return FolderState::unusable;
    FindClose(search);
    return FolderState::usable;
}
