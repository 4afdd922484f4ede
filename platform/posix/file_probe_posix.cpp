// Whether a body image's path, or its folder, is worth loading from, without ever waiting.
#include "platform/platform.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

bool isWorthLoading(const char* path) {
    // O_NONBLOCK: a named pipe would otherwise hold the open until some program writes to it.
    int descriptor = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor >= 0) {
        close(descriptor);
        return true;
    }
    // A file the user may not read, a loop, a socket (which cannot be opened at all): something is
    // there, where the user expects an image, and the loader's box says it cannot be opened.
    return errno != ENOENT;
}

FolderState folderState(const char* path) {
    struct stat info;
    if (stat(path, &info) != 0 && errno == ENOENT) return FolderState::absent;
    // Reaching "path/." needs a folder that the user may enter.
    return stat((std::string(path) + "/.").c_str(), &info) == 0 ? FolderState::usable : FolderState::unusable;
}
