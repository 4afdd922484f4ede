// Paths: the program's '/' is the system's own separator.
#include "platform/platform.h"

std::string systemPath(const char* path) {
    return path;
}
