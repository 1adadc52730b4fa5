#include "editor/GoToLine.h"

#include "common/LeadingInteger.h"

namespace veltro {

int parseLineNumber(std::string_view text) {
    // Any huge number is beyond the last line anyway.
    return leadingInteger(text);
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
