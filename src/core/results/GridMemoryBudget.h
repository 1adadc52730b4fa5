#pragma once

#include <cstdint>

namespace veltro {

// How much memory all result grids of the program may hold together. A grid that would
// grow past it refuses, so that a huge result ends with a message instead of taking the
// machine down.
class GridMemoryBudget {
public:
    // Half the machine's physical memory unless set otherwise.
    static std::uint64_t limit();
    static void setLimit(std::uint64_t bytes);
    static void resetLimit();

    static std::uint64_t used();
    // Whether that many more bytes would still fit.
    static bool fits(std::uint64_t bytes);
    // Takes the bytes when they fit.
    static bool reserve(std::uint64_t bytes);
    static void release(std::uint64_t bytes);
};

} // namespace veltro
