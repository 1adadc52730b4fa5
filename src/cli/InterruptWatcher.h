#pragma once

#include <signal.h>

#include <functional>
#include <mutex>
#include <thread>

namespace veltro {

// The signals that end a run without a window (SIGINT, SIGTERM, SIGHUP, SIGQUIT and a SIGPIPE
// sent to the process), for as long as the object lives. They are blocked in the constructing
// thread and in every thread it starts afterwards, and taken by a watcher thread: while a
// cancel action is set, the first Ctrl+C runs it. A second Ctrl+C, a Ctrl+C with nothing to
// cancel, or any of the others end the process at once with 128 plus the signal's number
// (exitCancelled, exitTerminated, ...), after removing the temporary files of unfinished
// exports, so that a hung driver call cannot keep the process alive.
class InterruptWatcher {
public:
    InterruptWatcher();
    ~InterruptWatcher();
    InterruptWatcher(const InterruptWatcher&) = delete;
    InterruptWatcher& operator=(const InterruptWatcher&) = delete;

    // What the first Ctrl+C does from now on; an empty function when there is nothing to
    // cancel. The action runs on the watcher thread and must not wait.
    void cancelWith(std::function<void()> action);

private:
    void watch();

    sigset_t signals{};
    sigset_t previous{};
    std::mutex mutex;
    std::function<void()> cancel;
    bool cancelRequested = false;
    std::thread watcher;
};

} // namespace veltro
