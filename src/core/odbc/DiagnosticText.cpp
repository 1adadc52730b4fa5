#include "odbc/DiagnosticText.h"

#include <cstdio>

namespace veltro {

OriginSplit splitOriginTags(std::string_view driverMessage) {
    size_t pos = 0;
    while (pos < driverMessage.size() && driverMessage[pos] == '[') {
        const size_t close = driverMessage.find(']', pos);
        if (close == std::string_view::npos) {
            break;
        }
        pos = close + 1;
    }
    OriginSplit split;
    split.origin = std::string(driverMessage.substr(0, pos));
    if (pos > 0 && pos < driverMessage.size() && driverMessage[pos] == ' ') {
        ++pos;
    }
    split.message = std::string(driverMessage.substr(pos));
    return split;
}

std::string stateLine(std::string_view sqlState, long nativeError, std::string_view origin) {
    char native[32];
    std::snprintf(native, sizeof native, "%ld", nativeError);
    std::string line = "State:";
    line += sqlState;
    line += ",Native:";
    line += native;
    line += ",Origin:";
    line += origin;
    line += '\n';
    return line;
}

} // namespace veltro
