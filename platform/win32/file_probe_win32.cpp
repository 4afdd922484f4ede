// Whether a body image's path is worth loading: on Windows, whatever the C library can open. No named
// pipe or device lives among ordinary files there, so the open never waits.
#include "platform/platform.h"

#include <cstdio>

bool isWorthLoading(const char* path) {
    FILE* file = std::fopen(path, "r");
    if (!file) return false;
    static_cast<void>(std::fclose(file)); // only opened to see that it can be
    return true;
}
