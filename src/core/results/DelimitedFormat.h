#pragma once

#include <string>
#include <string_view>

namespace veltro {

// How a cell goes into a delimited line: its bytes as they are, quoted (inner quotes
// doubled) when it holds the delimiter, a double quote, CR or LF; never with no delimiter.
class DelimitedFormat {
public:
    explicit DelimitedFormat(std::string delimiter);

    const std::string& delimiter() const { return separator; }
    void appendCell(std::string& out, std::string_view cell) const;

private:
    bool needsQuotes(std::string_view cell) const;

    std::string separator;
    // With a one-character delimiter: the characters that make a cell need quotes.
    std::string special;
};

} // namespace veltro
