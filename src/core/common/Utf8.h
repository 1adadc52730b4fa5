#pragma once

#include <string>
#include <string_view>

namespace veltro {

// Whether a byte starts a character: continuation bytes (10xxxxxx) belong to the one before.
constexpr bool startsCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

// The first maxCharacters characters of a UTF-8 text, never splitting a character.
std::string utf8Prefix(std::string_view text, std::size_t maxCharacters);

// The number of characters of a UTF-8 text.
std::size_t utf8Length(std::string_view text);

} // namespace veltro
