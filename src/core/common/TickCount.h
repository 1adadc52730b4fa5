#pragma once

#include <chrono>
#include <cstdint>

namespace veltro {

// Milliseconds on a clock that never goes back.
inline std::uint64_t tickCount() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

} // namespace veltro
