#pragma once

#include "history/HistoryEntry.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace veltro {

class ResultSink;

// A finished batch as the history keeps it: its result sets and their data rows counted,
// the connect string's password left out.
HistoryEntry describeBatch(std::string text, std::string_view connectString,
                           std::chrono::system_clock::time_point started,
                           std::chrono::system_clock::time_point ended, BatchOutcome outcome,
                           const std::vector<std::shared_ptr<ResultSink>>& results);

} // namespace veltro
