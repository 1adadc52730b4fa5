#pragma once

#include <string_view>

namespace veltro {

// Compares two texts without regard to the case of ASCII letters, as DBMS names and
// setting texts are compared.
bool equalsNoCase(std::string_view a, std::string_view b);

// Whether a sorts before b when the case of ASCII letters does not count.
bool lessNoCase(std::string_view a, std::string_view b);

} // namespace veltro
