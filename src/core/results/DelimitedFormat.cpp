#include "results/DelimitedFormat.h"

#include "common/Quoting.h"

namespace veltro {

DelimitedFormat::DelimitedFormat(std::string delimiter) : separator(std::move(delimiter)) {
    if (separator.size() == 1) {
        for (const char c : separator + "\"\r\n") {
            special[static_cast<unsigned char>(c)] = true;
        }
    }
}

bool DelimitedFormat::needsQuotes(std::string_view cell) const {
    if (separator.size() == 1) {
        const auto isSpecial = [this, &cell](std::size_t at) {
            return special[static_cast<unsigned char>(cell[at])];
        };
        std::size_t at = 0;
        // Eight bytes a step with one branch: most cells need no quotes.
        for (; at + 8 <= cell.size(); at += 8) {
            if (isSpecial(at) | isSpecial(at + 1) | isSpecial(at + 2) | isSpecial(at + 3) |
                isSpecial(at + 4) | isSpecial(at + 5) | isSpecial(at + 6) | isSpecial(at + 7)) {
                return true;
            }
        }
        for (; at < cell.size(); ++at) {
            if (isSpecial(at)) {
                return true;
            }
        }
        return false;
    }
    return !separator.empty() && holdsLongDelimiterOrSpecial(cell);
}

bool DelimitedFormat::holdsLongDelimiterOrSpecial(std::string_view cell) const {
    return cell.find(separator) != std::string_view::npos ||
           cell.find_first_of("\"\r\n") != std::string_view::npos;
}

void DelimitedFormat::appendLongDelimiter(std::string& out) const {
    out += separator;
}

void DelimitedFormat::appendQuoted(std::string& out, std::string_view cell) {
    out += enclosedDoubling(cell, '"', '"');
}

} // namespace veltro
