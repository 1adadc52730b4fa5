#include "session/ExecTime.h"

#include <cstdio>

namespace veltro {

std::string formatExecTime(std::uint64_t elapsedMilliseconds) {
    const std::uint64_t seconds = elapsedMilliseconds / 1000;
    const auto hours = static_cast<int>((seconds / 3600) % 24);
    const auto minutes = static_cast<int>((seconds / 60) % 60);
    const auto secs = static_cast<int>(seconds % 60);
    char text[40];
    std::snprintf(text, sizeof text, "Exec time: %02d:%02d:%02d", hours, minutes, secs);
    return text;
}

} // namespace veltro
