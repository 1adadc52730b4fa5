#pragma once

#include <string_view>

namespace veltro {

// Compares two texts without regard to the case of ASCII letters, as DBMS names and
// setting texts are compared.
bool equalsNoCase(std::string_view a, std::string_view b);

// Whether text begins with prefix, compared the same way.
bool startsWithNoCase(std::string_view text, std::string_view prefix);

// Whether a sorts before b without regard to the case of ASCII letters.
bool lessNoCase(std::string_view a, std::string_view b);

} // namespace veltro
