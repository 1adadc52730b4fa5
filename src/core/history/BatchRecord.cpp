#include "history/BatchRecord.h"

#include "results/ResultSink.h"

#include <algorithm>

namespace veltro {

HistoryEntry describeBatch(std::string text, std::string_view connectString,
                           std::chrono::system_clock::time_point started,
                           std::chrono::system_clock::time_point ended, BatchOutcome outcome,
                           const std::vector<std::shared_ptr<ResultSink>>& results) {
    using std::chrono::duration_cast;
    using std::chrono::milliseconds;
    HistoryEntry entry;
    entry.text = std::move(text);
    entry.dataSource = withoutPassword(connectString);
    entry.startedAt = duration_cast<milliseconds>(started.time_since_epoch()).count();
    entry.durationMs = duration_cast<milliseconds>(ended - started).count();
    entry.outcome = outcome;
    entry.results = static_cast<int>(results.size());
    for (const auto& result : results) {
        // Row 0 holds the column names.
        entry.rows += std::max(0, result->Rows() - 1);
    }
    return entry;
}

} // namespace veltro
