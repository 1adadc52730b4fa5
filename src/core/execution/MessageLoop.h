#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace veltro {

// A queue of tasks run by the one thread that owns a session: other threads post them and go
// on. Tasks run in the order they arrived. Once closed, nothing runs any more: a post is
// dropped, so that a thread outliving its window changes nothing.
class MessageLoop {
public:
    // False, the task dropped, once the loop is closed.
    bool post(std::function<void()> task);

    // Runs tasks as they come until done() holds, checked after every task.
    void runUntil(const std::function<bool()>& done);
    // The same, giving up at the deadline; false when done() still does not hold.
    bool runUntil(const std::function<bool()>& done,
                  std::chrono::steady_clock::time_point deadline);
    // Runs the tasks waiting now, without waiting for more.
    void drain();
    // Drops the tasks still waiting, and takes no more.
    void close();
    // Called from the posting thread whenever a task arrives, so that a thread with an
    // event loop of its own can come and drain.
    void setWakeHandler(std::function<void()> handler);

private:
    std::function<void()> takeTask();

    std::function<void()> wake;
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<std::function<void()>> tasks;
    bool closed = false;
};

} // namespace veltro
