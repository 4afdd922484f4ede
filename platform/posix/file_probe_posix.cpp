// Whether a body image's path is worth loading, without ever waiting.
#include "platform/platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool isWorthLoading(const char* path) {
    // O_NONBLOCK: a named pipe would otherwise hold the open until some program writes to it.
    int descriptor = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor >= 0) {
        close(descriptor);
        return true;
    }
    // A socket cannot be opened at all, yet it is there, where the user expects an image.
    struct stat info;
    return stat(path, &info) == 0 && !S_ISREG(info.st_mode);
}
