#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace veltro {

// A queue of tasks run by the one thread that owns a session when it has no window system
// to do it: other threads send (and wait for the answer) or post (and go on).
class MessageLoop {
public:
    // Runs the task on the loop's thread and returns its answer.
    int send(std::function<int()> task);
    void post(std::function<void()> task);

    // Runs tasks as they come until done() holds after a task.
    void runUntil(const std::function<bool()>& done);
    // Runs the tasks waiting now, without waiting for more.
    void drain();
    // Called from the posting thread whenever a task arrives, so that a thread with an
    // event loop of its own can come and drain.
    void setWakeHandler(std::function<void()> handler);

private:
    std::function<void()> takeTask();

    std::function<void()> wake;
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<std::function<void()>> tasks;
};

} // namespace veltro
