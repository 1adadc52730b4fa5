#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace veltro {

// A worker or cancel thread of a session: started at a priority level, waited for with a
// time limit, and joined when a new one starts or its owner goes. What it reads is kept
// alive by shared ownership, so that the owner may be let go while it runs.
class SessionThread {
public:
    SessionThread() = default;
    ~SessionThread();
    SessionThread(const SessionThread&) = delete;
    SessionThread& operator=(const SessionThread&) = delete;

    // Starts the body; false, with the reason in failure, when no thread could be made.
    // ended, when given, is the thread's last act, after it counts as ended.
    bool start(std::function<void()> body, int priorityLevel, std::string& failure,
               std::function<void()> ended = {});

    bool exists() const { return thread.joinable(); }
    bool isRunning() const;
    // True when the thread has ended (it is then joined) or none was started.
    bool waitFor(std::chrono::milliseconds limit);

private:
    struct State {
        std::mutex mutex;
        std::condition_variable ended;
        bool done = false;
    };

    void release();

    std::thread thread;
    std::shared_ptr<State> state;
};

// Applies a priority level (-2 lowest ... 2 highest, 15 time-critical) to the calling
// thread as its nice value. Raising above normal needs a privilege; without it the thread
// stays at normal.
void applyThreadPriority(int priorityLevel);

// The nice value that stands for a priority level.
int niceValueOf(int priorityLevel);

} // namespace veltro
