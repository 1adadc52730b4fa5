#pragma once

#include <string>
#include <string_view>

namespace veltro {

// The first maxCharacters characters of a UTF-8 text, never splitting a character.
std::string utf8Prefix(std::string_view text, std::size_t maxCharacters);

// The number of characters of a UTF-8 text.
std::size_t utf8Length(std::string_view text);

} // namespace veltro
