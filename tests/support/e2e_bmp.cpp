#include "tests/support/e2e_bmp.h"
#include "tests/support/e2e_wait.h"

#include <csignal>
#include <cstdint>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

void putU16(std::string* out, uint32_t v) {
    out->push_back(static_cast<char>(v & 0xff));
    out->push_back(static_cast<char>(v >> 8 & 0xff));
}

void putU32(std::string* out, uint32_t v) {
    putU16(out, v & 0xffff);
    putU16(out, v >> 16);
}

void putFileHeader(std::string* out, uint32_t fileSize, uint32_t pixelOffset) {
    *out += "BM";
    putU32(out, fileSize);
    putU32(out, 0); // two reserved words
    putU32(out, pixelOffset);
}

} // namespace

std::string solidBmp(int width, int height, Rgb colour) {
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) / 4 * 4;
    const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(height);
    std::string out;
    putFileHeader(&out, 54 + pixelBytes, 54);
    putU32(&out, 40);
    putU32(&out, static_cast<uint32_t>(width));
    putU32(&out, static_cast<uint32_t>(height));
    putU16(&out, 1);  // planes
    putU16(&out, 24); // bits per pixel
    for (int field = 0; field < 6; ++field) putU32(&out, 0); // no compression, sizes and palette left to the reader
    std::string row;
    for (int x = 0; x < width; ++x) {
        row.push_back(static_cast<char>(colour.blue));
        row.push_back(static_cast<char>(colour.green));
        row.push_back(static_cast<char>(colour.red));
    }
    row.resize(rowBytes, '\0');
    for (int y = 0; y < height; ++y) out += row;
    return out;
}

std::string bmpWithUnknownHeader() {
    std::string out;
    putFileHeader(&out, 14 + 64 + 48, 14 + 64);
    putU32(&out, 64);
    for (int i = 4; i < 64 + 48; ++i) out.push_back(static_cast<char>(i * 37));
    return out;
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
