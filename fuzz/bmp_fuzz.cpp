// libFuzzer target: each input becomes a file (an unlinked memfd) that loadBmpImage decodes.
#include "image/image.h"
#include "platform/platform.h"

#include <cstdio>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

// The fuzzer must not stop on dialogs; the decoder's message is simply dropped.
void showMessageBox(const char*, const char*) {}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int descriptor = memfd_create("bmp_fuzz", MFD_CLOEXEC);
    if (descriptor < 0) return 0;
    if (write(descriptor, data, size) == static_cast<ssize_t>(size)) {
        std::string path = "/proc/self/fd/" + std::to_string(descriptor);
        freeRgbImage(loadBmpImage(path.c_str()));
    }
    close(descriptor);
    return 0;
}
