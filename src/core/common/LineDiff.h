#pragma once

#include <string>
#include <vector>

namespace veltro {

// The lines of a text, split at line feeds; a final line feed ends the last line rather than
// starting an empty one.
std::vector<std::string> splitLines(const std::string& text);

// The difference between two texts' lines as a unified diff: "--- " and "+++ " with the two
// labels, then hunks ("@@ -start,count +start,count @@") of removed ("-"), added ("+") and
// unchanged (" ") lines, each change with up to `context` unchanged lines around it. Empty when
// the lines are the same.
std::string unifiedDiff(const std::vector<std::string>& before,
                        const std::vector<std::string>& after, const std::string& beforeLabel,
                        const std::string& afterLabel, int context = 3);

} // namespace veltro
