#pragma once

#include <cstdint>
#include <string>

namespace veltro {

// What the driver says of one result column (SQLDescribeCol).
struct ColumnInfo {
    std::string name; // at most 255 characters
    std::int16_t sqlType = 0;
    std::uint32_t precision = 0;
    std::int16_t scale = 0;
    std::int16_t nullability = 0;
};

} // namespace veltro
