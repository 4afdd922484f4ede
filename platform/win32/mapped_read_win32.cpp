// Reading a mapped file that may fail meanwhile (a network share gone away): a read the system can
// no longer page in raises EXCEPTION_IN_PAGE_ERROR, which is turned into an abandoned reading
// instead of the end of the program. Wine raises an access violation instead when the file is cut
// short under the view; inside a read-only view that can mean nothing else, so it is caught too.
// mingw-w64's compiler has no __try, so a vectored handler catches the exception and jumps back
// with GCC's own setjmp, which unwinds nothing.
#include "platform/platform.h"

#include <cstdint>
#include <windows.h>

namespace {

// The reading in progress. Images are decoded on one thread, one at a time.
struct GuardedReading {
    uintptr_t begin;
    size_t size;
    void* abandon[5]; // what __builtin_setjmp keeps
};
GuardedReading* volatile reading = nullptr;

// cppcheck-suppress constParameterCallback ; a vectored handler takes EXCEPTION_POINTERS*, not const
LONG CALLBACK onPageError(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD* record = exception->ExceptionRecord;
    GuardedReading* current = reading;
    // The second parameter is the address that could not be read.
    const bool unreadable = record->ExceptionCode == EXCEPTION_IN_PAGE_ERROR ||
                            record->ExceptionCode == EXCEPTION_ACCESS_VIOLATION;
    if (!current || !unreadable || record->NumberParameters < 2) return EXCEPTION_CONTINUE_SEARCH;
    const uintptr_t address = record->ExceptionInformation[1];
    if (address - current->begin >= current->size) return EXCEPTION_CONTINUE_SEARCH;
    __builtin_longjmp(current->abandon, 1);
}

} // namespace

bool readMappedBytes(const unsigned char* bytes, size_t size, void (*read)(void* context), void* context) {
    GuardedReading guard;
    guard.begin = reinterpret_cast<uintptr_t>(bytes);
    guard.size = size;
    void* handler = AddVectoredExceptionHandler(1, onPageError);
    volatile bool completed = false;
    reading = &guard;
    if (__builtin_setjmp(guard.abandon) == 0) {
        read(context);
        completed = true;
    }
    reading = nullptr;
    if (handler) RemoveVectoredExceptionHandler(handler);
    return completed;
}
