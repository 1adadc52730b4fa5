#pragma once

#include <string>
#include <string_view>

namespace veltro {

// The text between open and close, every close character inside it doubled: an SQL string
// literal ('...'), a quoted identifier ("..." or [...]), a braced connect-string value.
std::string enclosedDoubling(std::string_view text, char open, char close);

} // namespace veltro
