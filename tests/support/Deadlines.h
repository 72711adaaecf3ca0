#pragma once
// How long the tests under Wine wait. A test waits for a state by polling for it until a
// deadline; the deadline is generous, because a busy machine (a build beside the tests)
// makes Wine many times slower, and a deadline costs time only when the test fails anyway.
// A check that something does not happen cannot poll: it waits the quiet period after a
// positive sync point (a state that shows the program got that far).
#include <windows.h>

#include <chrono>
#include <functional>

namespace deadlines {

inline constexpr int kStateMs = 30000;
inline constexpr DWORD kStateTicks = kStateMs; // the same, for GetTickCount arithmetic
inline constexpr int kQuietMs = 1000;

// Polls the condition (without handling messages) until it holds; false at the deadline.
inline bool PollUntil(const std::function<bool()>& condition, int timeoutMs = kStateMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        Sleep(15);
    }
    return true;
}

// The quiet period of a check that something does not happen, for a thread that handles
// no messages of its own.
inline void QuietPeriod() {
    Sleep(kQuietMs);
}

} // namespace deadlines
