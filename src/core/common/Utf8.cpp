#include "common/Utf8.h"

namespace veltro {

std::string utf8Prefix(std::string_view text, std::size_t maxCharacters) {
    std::size_t characters = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (startsCharacter(text[pos])) {
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
        characters += startsCharacter(c) ? 1 : 0;
    }
    return characters;
}

} // namespace veltro
