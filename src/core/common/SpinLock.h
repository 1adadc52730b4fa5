#pragma once

#include <atomic>
#include <thread>

namespace veltro {

// A lock for very short sections that are almost never contended, such as one grid cell
// written by the worker while the window thread may read another: far cheaper than a
// mutex when, as there, it is taken millions of times.
class SpinLock {
public:
    void lock() noexcept {
        while (held.test_and_set(std::memory_order_acquire)) {
            while (held.test(std::memory_order_relaxed)) {
                std::this_thread::yield();
            }
        }
    }
    void unlock() noexcept { held.clear(std::memory_order_release); }

private:
    std::atomic_flag held = ATOMIC_FLAG_INIT;
};

} // namespace veltro
