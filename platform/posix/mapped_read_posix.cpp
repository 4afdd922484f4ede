// Reading a mapped file that may shrink meanwhile: a read past its new end raises SIGBUS, which is
// turned into an abandoned reading instead of the end of the program.
#include "platform/platform.h"

#include <csetjmp>
#include <csignal>
#include <cstdint>

namespace {

// The reading in progress. Images are decoded on one thread, one at a time.
struct GuardedReading {
    uintptr_t begin;
    size_t size;
    sigjmp_buf abandon;
};
GuardedReading* volatile reading = nullptr;
struct sigaction actionBefore;

// cppcheck-suppress constParameterCallback ; sigaction's handler type takes siginfo_t*, not const
void onBusError(int, siginfo_t* info, void*) {
    GuardedReading* current = reading;
    const uintptr_t address = reinterpret_cast<uintptr_t>(info->si_addr);
    if (current && address - current->begin < current->size) siglongjmp(current->abandon, 1);
    // Some other fault: put back what handled it before, and the faulting access runs into that.
    sigaction(SIGBUS, &actionBefore, nullptr);
}

} // namespace

bool readMappedBytes(const unsigned char* bytes, size_t size, void (*read)(void* context), void* context) {
    GuardedReading guard;
    guard.begin = reinterpret_cast<uintptr_t>(bytes);
    guard.size = size;
    struct sigaction action = {};
    action.sa_sigaction = onBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    sigaction(SIGBUS, &action, &actionBefore);
    volatile bool completed = false;
    reading = &guard;
    if (sigsetjmp(guard.abandon, 1) == 0) {
        read(context);
        completed = true;
    }
    reading = nullptr;
    sigaction(SIGBUS, &actionBefore, nullptr);
    return completed;
}
