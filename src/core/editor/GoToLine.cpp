#include "editor/GoToLine.h"

#include <algorithm>
#include <climits>

namespace veltro {

int parseLineNumber(std::string_view text) {
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
        // Saturate rather than overflow; any huge number is beyond the last line anyway.
        value = std::min<long long>(value * 10 + (text[pos] - '0'), INT_MAX);
    }
    return static_cast<int>(negative ? -value : value);
}

GoToTarget resolveGoToTarget(GoToMode mode, int enteredLine, int currentLine, int lineCount) {
    GoToTarget target;
    switch (mode) {
    case GoToMode::previous:
        target.line = currentLine;
        break;
    case GoToMode::next:
        target.line = currentLine + 2;
        break;
    case GoToMode::entered:
        target.line = enteredLine;
        break;
    }
    if (target.line > lineCount || target.line < 0) {
        target.line = lineCount;
        target.editText = std::to_string(lineCount);
    } else if (target.line == 0) {
        target.line = 1;
        target.editText = "1";
    }
    return target;
}

std::string caretPaneText(int line, int column) {
    return "Ln " + std::to_string(line) + ", Col " + std::to_string(column);
}

} // namespace veltro
