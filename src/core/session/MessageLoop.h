#pragma once

#include <atomic>
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
    // From now on the loop's thread moves to the CPU of the thread whose task it runs, so
    // that a send and its answer are switches between two threads on one CPU instead of
    // wake-ups of another, which cost far more (a tenth of a millisecond each on a
    // virtual machine). Only for a thread that does nothing but answer while senders
    // work: it stays on one CPU, and so do the threads it starts.
    void followSenders() { following = true; }

private:
    struct Task {
        std::function<void()> run;
        // Where the sender ran when it queued the task (-1: not known or not needed).
        int senderCpu = -1;
    };

    bool enqueue(std::function<void()> task);
    Task takeTask();
    void runTask(Task& task);

    std::function<void()> wake;
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<Task> tasks;
    bool closed = false;
    std::atomic<bool> following = false;
    // The CPU the loop's thread is held to (-1: none).
    int heldTo = -1;
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
