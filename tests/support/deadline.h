#pragma once

#include <QtGlobal>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// Ends the test program with a message when a case outlives its own limit, so that a wait that
// never ends fails in seconds, not at the test runner's time-out minutes later.
class Deadline {
public:
    Deadline(int limitMs, const char *what)
        : watchdog([this, limitMs, what] {
              std::unique_lock lock(mutex);
              if (!ended.wait_for(lock, std::chrono::milliseconds(limitMs), [this] { return done; }))
                  qFatal("%s: still going after %d ms", what, limitMs);
          }) {}
    ~Deadline() {
        {
            std::lock_guard lock(mutex);
            done = true;
        }
        ended.notify_all();
        watchdog.join();
    }
    Deadline(const Deadline &) = delete;
    Deadline &operator=(const Deadline &) = delete;

private:
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::thread watchdog;
};
