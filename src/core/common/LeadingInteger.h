#pragma once

#include <string_view>

namespace veltro {

// The number a text begins with, read like atoi: leading blanks skipped, an optional sign,
// then decimal digits up to the first other character. No digits read as 0; a number
// beyond the int range saturates.
int leadingInteger(std::string_view text);

} // namespace veltro
