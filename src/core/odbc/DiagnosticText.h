#pragma once

#include <string>
#include <string_view>

namespace veltro {

// A driver message split into its leading origin tags ("[vendor][driver]") and the rest.
struct OriginSplit {
    std::string origin;
    std::string message;
};

// Removes every leading bracketed tag, and one blank after the last tag.
OriginSplit splitOriginTags(std::string_view driverMessage);

// One line of a database error's state text.
std::string stateLine(std::string_view sqlState, long nativeError, std::string_view origin);

} // namespace veltro
