#include "common/Utf8.h"

namespace veltro {

std::string utf8Prefix(std::string_view text, std::size_t maxCharacters) {
    std::size_t characters = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        // Continuation bytes (10xxxxxx) belong to the character before them.
        if ((static_cast<unsigned char>(text[pos]) & 0xC0) != 0x80) {
            if (characters == maxCharacters) {
                break;
            }
            ++characters;
        }
        ++pos;
    }
    return std::string(text.substr(0, pos));
}

std::size_t utf8Length(std::string_view text) {
    std::size_t characters = 0;
    for (const char c : text) {
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return characters;
}

} // namespace veltro
