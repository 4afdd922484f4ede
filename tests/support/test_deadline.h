// A deadline of its own for a test that could block (a probe that waits on a named pipe, say): when
// it passes, SIGALRM ends the test program at once, a failure ctest reports in seconds rather than
// after its own timeout of minutes.
#pragma once

#include <unistd.h>

class TestDeadline {
  public:
    explicit TestDeadline(unsigned seconds) { alarm(seconds); }
    ~TestDeadline() { alarm(0); }
    TestDeadline(const TestDeadline&) = delete;
    TestDeadline& operator=(const TestDeadline&) = delete;
};
