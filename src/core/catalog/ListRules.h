#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace veltro {

// The rules of the object lists that need no window: how a cell is shortened to its
// column, how a row is read from a line of cells, and how rows are sorted. Texts are UTF-8.

// The width of a text in pixels, as the list's font draws it.
using TextMeasure = std::function<int(std::string_view)>;

// A cell as drawn: at most 259 characters; when it does not fit the width together with
// the allowance, its longest beginning that fits with "..." after it (at least one
// character).
struct DrawnText {
    std::string text;
    bool shortened = false;
};
DrawnText shortenedText(std::string_view text, int width, int allowance,
                        const TextMeasure& measure);

// The cells of a line in which every cell ends with "|". Empty when the line holds no "|".
// The line keeps what followed the last "|", which is no cell.
std::vector<std::string> takeDelimitedCells(std::string& line);

// Compares two texts character by character without regard to case: negative, 0 or positive.
int compareNoCase(std::string_view a, std::string_view b);

// The order in which rows with these sort texts are listed; rows with equal texts keep
// their order.
std::vector<std::size_t> sortedOrder(const std::vector<std::string>& texts, bool ascending);

} // namespace veltro
