#include "common/LeadingInteger.h"

#include <algorithm>
#include <climits>

namespace veltro {

int leadingInteger(std::string_view text) {
    std::size_t pos = text.find_first_not_of(" \t\r\n\f\v");
    if (pos == std::string_view::npos) {
        return 0;
    }
    bool negative = false;
    if (text[pos] == '+' || text[pos] == '-') {
        negative = text[pos] == '-';
        ++pos;
    }
    long long value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = std::min<long long>(value * 10 + (text[pos] - '0'), INT_MAX);
    }
    return static_cast<int>(negative ? -value : value);
}

} // namespace veltro
