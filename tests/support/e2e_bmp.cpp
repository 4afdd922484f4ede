#include "tests/support/e2e_bmp.h"
#include "tests/support/e2e_wait.h"
#include "tools/bmp_builder.h"

#include <csignal>
#include <cstdint>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono_literals;

std::string solidBmp(int width, int height, Rgb colour) {
    BmpParts parts;
    parts.width = width;
    parts.height = height;
    const uint32_t rgb = static_cast<uint32_t>(colour.red) << 16 | colour.green << 8 | colour.blue;
    parts.pixels =
        packRows(std::vector<std::vector<uint32_t>>(height, std::vector<uint32_t>(width, rgb)), 24);
    const Bytes file = buildBmp(parts);
    return std::string(file.begin(), file.end());
}

std::string bmpWithUnknownHeader() {
    BmpParts parts;
    parts.headerSize = 64;
    for (int i = 0; i < 48; ++i)
        parts.pixels.push_back(static_cast<uint8_t>(i * 37));
    const Bytes file = buildBmp(parts);
    return std::string(file.begin(), file.end());
}

bool convertBodyMaps(const std::string& outFolder) {
#ifndef ASTROLUME_IMAGE_TOOL
    (void)outFolder;
    return false;
#else
    pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        execl(ASTROLUME_IMAGE_TOOL, "make_body_images", "/usr/share/openuniverse/textures", outFolder.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    bool finished = waitUntil(60s, [&] { return waitpid(pid, &status, WNOHANG) == pid; });
    if (!finished) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
#endif
}
