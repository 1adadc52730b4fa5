#include "session/MessageLoop.h"

#include <future>

namespace veltro {

int MessageLoop::send(std::function<int()> task) {
    std::packaged_task<int()> packaged(std::move(task));
    std::future<int> answer = packaged.get_future();
    post([&packaged] { packaged(); });
    return answer.get();
}

void MessageLoop::post(std::function<void()> task) {
    std::function<void()> wakeUp;
    {
        std::lock_guard lock(mutex);
        tasks.push_back(std::move(task));
        wakeUp = wake;
    }
    arrived.notify_one();
    if (wakeUp) {
        wakeUp();
    }
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
    while (std::function<void()> task = takeTask()) {
        task();
    }
}

void MessageLoop::runUntil(const std::function<bool()>& done) {
    while (!done()) {
        std::function<void()> task;
        {
            std::unique_lock lock(mutex);
            arrived.wait(lock, [this] { return !tasks.empty(); });
            task = std::move(tasks.front());
            tasks.pop_front();
        }
        task();
    }
}

} // namespace veltro
