#include "session/MessageLoop.h"

#include <pthread.h>
#include <sched.h>

namespace veltro {

bool MessageLoop::enqueue(std::function<void()> task) {
    const int senderCpu = following ? sched_getcpu() : -1;
    std::function<void()> wakeUp;
    {
        std::lock_guard lock(mutex);
        if (closed) {
            return false;
        }
        tasks.push_back({std::move(task), senderCpu});
        wakeUp = wake;
    }
    arrived.notify_one();
    if (wakeUp) {
        wakeUp();
    }
    return true;
}

void MessageLoop::post(std::function<void()> task) {
    enqueue(std::move(task));
}

void MessageLoop::setWakeHandler(std::function<void()> handler) {
    std::lock_guard lock(mutex);
    wake = std::move(handler);
}

MessageLoop::Task MessageLoop::takeTask() {
    std::lock_guard lock(mutex);
    if (tasks.empty()) {
        return {{}, -1};
    }
    Task task = std::move(tasks.front());
    tasks.pop_front();
    return task;
}

void MessageLoop::runTask(Task& task) {
    if (task.senderCpu >= 0 && task.senderCpu != heldTo) {
        cpu_set_t cpus;
        CPU_ZERO(&cpus);
        CPU_SET(task.senderCpu, &cpus);
        // Refused (the CPU is not ours to use): the thread runs where the system puts it.
        if (pthread_setaffinity_np(pthread_self(), sizeof cpus, &cpus) == 0) {
            heldTo = task.senderCpu;
        }
    }
    task.run();
}

void MessageLoop::drain() {
    for (Task task = takeTask(); task.run; task = takeTask()) {
        runTask(task);
    }
}

void MessageLoop::close() {
    {
        std::lock_guard lock(mutex);
        closed = true;
    }
    // A sender may be waiting for one of these.
    drain();
}

void MessageLoop::runUntil(const std::function<bool()>& done) {
    runUntil(done, std::chrono::steady_clock::time_point::max());
}

bool MessageLoop::runUntil(const std::function<bool()>& done,
                           std::chrono::steady_clock::time_point deadline) {
    while (!done()) {
        Task task;
        {
            std::unique_lock lock(mutex);
            const auto waiting = [this] { return !tasks.empty(); };
            if (deadline == std::chrono::steady_clock::time_point::max()) {
                arrived.wait(lock, waiting);
            } else if (!arrived.wait_until(lock, deadline, waiting)) {
                return false;
            }
            task = std::move(tasks.front());
            tasks.pop_front();
        }
        runTask(task);
    }
    return true;
}

} // namespace veltro
