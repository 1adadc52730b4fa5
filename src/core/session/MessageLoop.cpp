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
    {
        std::lock_guard lock(mutex);
        tasks.push_back(std::move(task));
    }
    arrived.notify_one();
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
