#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>

namespace veltro {

// A queue of tasks run by the one thread that owns a session: other threads send (and wait
// for the answer) or post (and go on). Tasks run in the order they arrived.
//
// Once closed, nothing runs any more: a send answers at once with an empty result and a
// post is dropped, so that a thread outliving its window can never wait for it.
class MessageLoop {
public:
    // Runs the task on the loop's thread and returns its answer.
    template <typename Result> Result send(std::function<Result()> task);
    void post(std::function<void()> task);

    // Runs tasks as they come until done() holds, checked after every task.
    void runUntil(const std::function<bool()>& done);
    // The same, giving up at the deadline; false when done() still does not hold.
    bool runUntil(const std::function<bool()>& done,
                  std::chrono::steady_clock::time_point deadline);
    // Runs the tasks waiting now, without waiting for more.
    void drain();
    // Answers the tasks still waiting, then takes no more.
    void close();
    // Called from the posting thread whenever a task arrives, so that a thread with an
    // event loop of its own can come and drain.
    void setWakeHandler(std::function<void()> handler);

private:
    bool enqueue(std::function<void()> task);
    std::function<void()> takeTask();

    std::function<void()> wake;
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<std::function<void()>> tasks;
    bool closed = false;
};

template <typename Result> Result MessageLoop::send(std::function<Result()> task) {
    std::packaged_task<Result()> packaged(std::move(task));
    std::future<Result> answer = packaged.get_future();
    if (!enqueue([&packaged] { packaged(); })) {
        return Result{};
    }
    return answer.get();
}

} // namespace veltro
