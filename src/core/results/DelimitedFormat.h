#pragma once

#include <array>
#include <string>
#include <string_view>

namespace veltro {

// How a cell goes into a delimited line: its bytes as they are, quoted (inner quotes
// doubled) when it holds the delimiter, a double quote, CR or LF; never with no delimiter.
// A row's only cell, when empty, is written as "" where cells are quoted, so that the row
// is not taken for the blank line that ends a result set.
class DelimitedFormat {
public:
    explicit DelimitedFormat(std::string delimiter);

    void appendDelimiter(std::string& out) const {
        if (separator.size() == 1) {
            out.push_back(separator[0]);
        } else {
            appendLongDelimiter(out);
        }
    }
    void appendCell(std::string& out, std::string_view cell) const {
        if (needsQuotes(cell)) {
            appendQuoted(out, cell);
        } else {
            out.append(cell);
        }
    }

    // Called when a row of one cell is still empty at its end.
    void appendEmptyLoneCell(std::string& out) const {
        if (!separator.empty()) {
            out += "\"\"";
        }
    }

private:
    bool needsQuotes(std::string_view cell) const;
    static void appendQuoted(std::string& out, std::string_view cell);
    void appendLongDelimiter(std::string& out) const;
    // Kept out of needsQuotes, whose one-character case runs for every exported cell.
    [[gnu::noinline]] bool holdsLongDelimiterOrSpecial(std::string_view cell) const;

    std::string separator;
    // With a one-character delimiter: the bytes that make a cell need quotes. Every exported
    // byte is looked up here, which is cheaper than searching the cell for each of them.
    std::array<bool, 256> special{};
};

} // namespace veltro
