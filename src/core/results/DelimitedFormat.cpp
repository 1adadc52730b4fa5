#include "results/DelimitedFormat.h"

#include "common/Quoting.h"

namespace veltro {

DelimitedFormat::DelimitedFormat(std::string delimiter)
    : separator(std::move(delimiter)),
      special(separator.size() == 1 ? separator + "\"\r\n" : std::string()) {}

bool DelimitedFormat::needsQuotes(std::string_view cell) const {
    if (separator.empty()) {
        return false;
    }
    if (!special.empty()) {
        return cell.find_first_of(special) != std::string_view::npos;
    }
    return cell.find(separator) != std::string_view::npos ||
           cell.find_first_of("\"\r\n") != std::string_view::npos;
}

void DelimitedFormat::appendCell(std::string& out, std::string_view cell) const {
    if (needsQuotes(cell)) {
        out += enclosedDoubling(cell, '"', '"');
    } else {
        out.append(cell);
    }
}

} // namespace veltro
