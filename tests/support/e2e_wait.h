// Bounded waiting: every wait in the end-to-end tests gives up after a limit.
#pragma once

#include <chrono>
#include <thread>

class Deadline {
  public:
    explicit Deadline(std::chrono::milliseconds limit) : end_(std::chrono::steady_clock::now() + limit) {}
    bool passed() const { return std::chrono::steady_clock::now() >= end_; }

  private:
    std::chrono::steady_clock::time_point end_;
};

// Polls `condition` until it holds or `limit` runs out; says whether it held.
template <typename Condition> bool waitUntil(std::chrono::milliseconds limit, Condition condition) {
    Deadline deadline(limit);
    for (;;) {
        if (condition()) return true;
        if (deadline.passed()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
    }
}
