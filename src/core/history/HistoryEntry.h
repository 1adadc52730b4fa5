#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace veltro {

enum class BatchOutcome { completed, completedWithErrors, cancelled };

// One executed batch as the query history keeps it.
struct HistoryEntry {
    std::int64_t id = 0;
    std::string text;
    // The connect string without its password.
    std::string dataSource;
    std::int64_t startedAt = 0; // milliseconds since the epoch, UTC
    std::int64_t durationMs = 0;
    BatchOutcome outcome = BatchOutcome::completed;
    int results = 0;
    std::int64_t rows = 0;
};

// "completed", "completed with errors", "cancelled".
std::string_view outcomeName(BatchOutcome outcome);
BatchOutcome outcomeFromName(std::string_view name);

// The start of a text as a one-line list shows it: each run of blanks and line ends one
// blank, none at either end, at most maxCharacters characters (never a character cut).
std::string textPreview(std::string_view text, std::size_t maxCharacters);

// The connect string with every password attribute (PWD, PASSWORD, in any case) left out.
std::string withoutPassword(std::string_view connectString);

} // namespace veltro
