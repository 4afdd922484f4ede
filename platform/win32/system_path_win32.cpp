// Paths: Windows writes '\' between folders, and its users read it so in a box.
#include "platform/platform.h"

#include <algorithm>

std::string systemPath(const char* path) {
    std::string written = path;
    std::replace(written.begin(), written.end(), '/', '\\');
    return written;
}
