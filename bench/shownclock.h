#pragma once

#include <cstdio>
#include <cstdlib>
#include <ctime>

// The start-up launchers get the runner's CLOCK_MONOTONIC stamp, taken just before it started
// them, as their first argument, and print the time from then to now on standard output.
namespace ShownClock {

inline long long nowNs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

inline void printElapsedSince(int argc, char **argv) {
    if (argc < 2)
        return;
    const long long startedNs = std::strtoll(argv[1], nullptr, 10);
    std::printf("shown_ms %.3f\n", double(nowNs() - startedNs) / 1e6);
    std::fflush(stdout);
}

} // namespace ShownClock
