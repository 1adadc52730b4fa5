#pragma once

#include "options/ConfigureOptions.h"

#include <string>

namespace veltro {

// The Configure setting of how many entries the query history keeps.
inline constexpr NumberOption historyEntriesOption{
    "HistoryEntries",
    10000,
    1,
    1000000,
    1,
    1000000,
    7,
    "<Entries Kept> is a required field. The default value is 10000."};

// The history database: history.db in the program's data folder.
std::string historyPath();

} // namespace veltro
