#include "execution/MessageLoop.h"

namespace veltro {

bool MessageLoop::post(std::function<void()> task) {
    std::function<void()> wakeUp;
    {
        std::lock_guard lock(mutex);
        if (closed) {
            return false;
        }
        tasks.push_back(std::move(task));
        wakeUp = wake;
    }
    arrived.notify_one();
    if (wakeUp) {
        wakeUp();
    }
    return true;
}

void MessageLoop::setWakeHandler(std::function<void()> handler) {
    std::lock_guard lock(mutex);
    wake = std::move(handler);
}

std::function<void()> MessageLoop::takeTask() {
    std::lock_guard lock(mutex);
    if (tasks.empty()) {
        return {};
    }
    std::function<void()> task = std::move(tasks.front());
    tasks.pop_front();
    return task;
}

void MessageLoop::drain() {
    for (std::function<void()> task = takeTask(); task; task = takeTask()) {
        task();
    }
}

void MessageLoop::close() {
    std::deque<std::function<void()>> dropped;
    std::lock_guard lock(mutex);
    closed = true;
    dropped.swap(tasks);
}

void MessageLoop::runUntil(const std::function<bool()>& done) {
    runUntil(done, std::chrono::steady_clock::time_point::max());
}

bool MessageLoop::runUntil(const std::function<bool()>& done,
                           std::chrono::steady_clock::time_point deadline) {
    while (!done()) {
        std::function<void()> task;
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
        task();
    }
    return true;
}

} // namespace veltro
