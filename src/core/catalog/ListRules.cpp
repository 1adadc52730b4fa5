#include "catalog/ListRules.h"

#include "common/Utf8.h"

#include <algorithm>
#include <cwctype>
#include <numeric>

namespace veltro {

namespace {

// A list control reads a cell into a buffer of 260 characters, terminator included.
constexpr std::size_t longestDrawnCell = 259;
constexpr std::string_view dots = "...";

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The next character of a UTF-8 text as a code point; a byte that starts no valid
// sequence stands for itself.
char32_t nextCharacter(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    int extra = 0;
    char32_t value = lead;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        value = lead & 0x07;
    }
    for (; extra > 0 && pos < text.size() && isContinuation(text[pos]); --extra) {
        value = (value << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
    }
    return extra == 0 ? value : char32_t{lead};
}

char32_t folded(char32_t c) {
    return static_cast<char32_t>(std::towlower(static_cast<std::wint_t>(c)));
}

} // namespace

DrawnText shortenedText(std::string_view text, int width, int allowance,
                        const TextMeasure& measure) {
    DrawnText drawn{utf8Prefix(text, longestDrawnCell), false};
    if (drawn.text.empty() || measure(drawn.text) + allowance <= width) {
        return drawn;
    }
    const int dotsWidth = measure(dots);
    std::string rest = drawn.text;
    while (utf8Length(rest) > 1) {
        while (isContinuation(rest.back())) {
            rest.pop_back();
        }
        rest.pop_back();
        if (measure(rest) + allowance + dotsWidth <= width) {
            break;
        }
    }
    drawn.text = rest + std::string(dots);
    drawn.shortened = true;
    return drawn;
}

std::vector<std::string> takeDelimitedCells(std::string& line) {
    std::vector<std::string> cells;
    for (std::size_t bar = line.find('|'); bar != std::string::npos; bar = line.find('|')) {
        cells.push_back(line.substr(0, bar));
        line.erase(0, bar + 1);
    }
    return cells;
}

int compareNoCase(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = folded(nextCharacter(a, i));
        const char32_t y = folded(nextCharacter(b, j));
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    if (i < a.size()) {
        return 1;
    }
    return j < b.size() ? -1 : 0;
}

std::vector<std::size_t> sortedOrder(const std::vector<std::string>& texts, bool ascending) {
    std::vector<std::size_t> order(texts.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        return ascending ? compareNoCase(texts[x], texts[y]) < 0
                         : compareNoCase(texts[y], texts[x]) < 0;
    });
    return order;
}

} // namespace veltro
