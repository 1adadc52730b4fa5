#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veltro {

// How the Go To dialog picks its target line.
enum class GoToMode {
    entered,  // the number in the edit
    next,     // the edit is empty: the line below the caret
    previous, // the Previous button: the line above the caret
};

// The edit's text as a line number: blanks trimmed on both sides, then read like atoi
// (leading digits with an optional sign; anything else reads as 0).
int parseLineNumber(std::string_view text);

struct GoToTarget {
    int line = 1; // 1-based line to put the caret on
    // The text the edit shows afterwards when the target had to be clamped.
    std::optional<std::string> editText;
};

// The line to go to. currentLine is the 0-based line of the selection start; lineCount the
// pane's line count. Beyond the last line, or negative, goes to the last line; 0 goes to 1.
GoToTarget resolveGoToTarget(GoToMode mode, int enteredLine, int currentLine, int lineCount);

// The caret pane's text for a 1-based line and column: "Ln %d, Col %d".
std::string caretPaneText(int line, int column);

} // namespace veltro
