// Read-only file mapping with mmap.
#include "platform/platform.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef MAP_POPULATE
#define MAP_POPULATE 0 // Linux only: fault the pages in up front, since the decoder reads them all
#endif

bool mapFileReadOnly(const char* path, MappedFile* file) {
    *file = MappedFile{};
    if (!path) return false;
    // O_NONBLOCK: a named pipe would otherwise hold the open until some program writes to it.
    int descriptor = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return false;
    struct stat info;
    if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) {
        close(descriptor);
        return false;
    }
    size_t size = static_cast<size_t>(info.st_size);
    const void* data = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, descriptor, 0);
    // The mapping keeps the pages reachable on its own, so the descriptor is not held.
    close(descriptor);
    if (data == MAP_FAILED) return false;
    file->data = static_cast<const unsigned char*>(data);
    file->size = size;
    return true;
}

void unmapFile(MappedFile* file) {
    if (file->data) munmap(const_cast<unsigned char*>(file->data), file->size);
    *file = MappedFile{};
}
