#pragma once

#include <stdexcept>
#include <string>

namespace veltro {

// The program's own failures that carry a text meant for the user
// ("Failed to create grid control.", "Unable to Allocate Memory for FlexGrid.", ...).
// Anything thrown that is neither this, a database error nor out-of-memory is
// reported only as "Errors occurred.".
class AppError : public std::runtime_error {
public:
    explicit AppError(const std::string& text) : std::runtime_error(text) {}
};

} // namespace veltro
