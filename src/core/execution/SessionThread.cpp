#include "execution/SessionThread.h"

#include "session/ThreadPriority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <system_error>

namespace veltro {

int niceValueOf(int priorityLevel) {
    switch (priorityLevel) {
    case priorityTimeCritical:
        return -20;
    case priorityHighest:
        return -10;
    case priorityAboveNormal:
        return -5;
    case priorityNormal:
        return 0;
    case priorityBelowNormal:
        return 5;
    default:
        return 10;
    }
}

void applyThreadPriority(int priorityLevel) {
    const auto tid = static_cast<id_t>(syscall(SYS_gettid));
    if (setpriority(PRIO_PROCESS, tid, niceValueOf(priorityLevel)) != 0) {
        setpriority(PRIO_PROCESS, tid, 0);
    }
}

SessionThread::~SessionThread() {
    release();
}

void SessionThread::release() {
    if (!thread.joinable()) {
        return;
    }
    // A thread that outlived its owner may end up destroying it itself, as its last act:
    // it cannot join itself. Any other thread is waited for.
    if (thread.get_id() == std::this_thread::get_id()) {
        thread.detach();
    } else {
        thread.join();
    }
}

bool SessionThread::start(std::function<void()> body, int priorityLevel, std::string& failure,
                          std::function<void()> ended) {
    release();
    auto shared = std::make_shared<State>();
    try {
        thread =
            std::thread([shared, priorityLevel, work = std::move(body), last = std::move(ended)] {
                applyThreadPriority(priorityLevel);
                try {
                    work();
                } catch (...) {
                    // The bodies report their own failures; nothing may leave a thread.
                }
                {
                    std::lock_guard lock(shared->mutex);
                    shared->done = true;
                    shared->ended.notify_all();
                }
                if (last) {
                    last();
                }
            });
    } catch (const std::system_error& e) {
        failure = e.what();
        return false;
    }
    state = std::move(shared);
    return true;
}

bool SessionThread::isRunning() const {
    if (!state) {
        return false;
    }
    std::lock_guard lock(state->mutex);
    return !state->done;
}

bool SessionThread::waitFor(std::chrono::milliseconds limit) {
    if (!thread.joinable()) {
        return true;
    }
    {
        std::unique_lock lock(state->mutex);
        if (!state->ended.wait_for(lock, limit, [this] { return state->done; })) {
            return false;
        }
    }
    thread.join();
    return true;
}

} // namespace veltro
