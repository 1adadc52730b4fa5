#pragma once

#include <cstdint>
#include <string>

namespace veltro {

inline constexpr const char* initialExecTimeText = "Exec time: 00:00:00";

// "Exec time: HH:MM:SS" for an elapsed time; the hours are those within a day (0 to 23).
std::string formatExecTime(std::uint64_t elapsedMilliseconds);

} // namespace veltro
