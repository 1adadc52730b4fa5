#pragma once

#include <optional>
#include <string_view>

namespace veltro {

// A stored integer entry read back from its text: optional blanks, a sign and decimal
// digits. Anything else, or a value outside the int range, is not an integer.
std::optional<int> parseStoredInteger(std::string_view text);

} // namespace veltro
