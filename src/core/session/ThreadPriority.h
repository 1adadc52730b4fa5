#pragma once

#include <string_view>

namespace veltro {

// Worker thread priority levels, as stored by name in "Configure"/"ThreadPriority".
inline constexpr int priorityTimeCritical = 15;
inline constexpr int priorityHighest = 2;
inline constexpr int priorityAboveNormal = 1;
inline constexpr int priorityNormal = 0;
inline constexpr int priorityBelowNormal = -1;
inline constexpr int priorityLowest = -2;

struct ThreadPriorityName {
    std::string_view name;
    int level;
};

// The names, in the order the Configure sheet lists them.
inline constexpr ThreadPriorityName threadPriorityNames[] = {
    {"Time critical", priorityTimeCritical}, {"Highest", priorityHighest},
    {"Above Normal", priorityAboveNormal},   {"Normal", priorityNormal},
    {"Below Normal", priorityBelowNormal},   {"Lowest", priorityLowest},
};

// The level of a priority name, compared without regard to case; any other text,
// the empty one included, is the lowest level.
int threadPriorityLevel(std::string_view name);

} // namespace veltro
