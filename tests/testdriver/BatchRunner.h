#pragma once

#include "Outcome.h"

#include <atomic>
#include <optional>
#include <string>

namespace veltro::testdriver {

class Connection;

// Runs the statements of one SQLExecDirect text one after another: emulated
// statements first, everything else on SQLite (split with sqlite3_prepare_v2's tail).
class BatchRunner {
public:
    // With multiple results off only the first statement of the text runs.
    void start(std::string sql, bool multipleResults);

    // Runs the next statement; nullopt when the batch is done. A failing statement
    // does not stop the batch unless the text after it cannot be found.
    std::optional<Outcome> next(Connection& connection, const std::atomic<bool>& cancelRequested);

private:
    Outcome runSqlite(Connection& connection, const std::atomic<bool>& cancelRequested,
                      bool& empty);

    std::string sql_;
    size_t position_ = 0;
    bool multipleResults_ = true;
    bool ranOne_ = false;
};

// Applies the profile's declared column types and sizes to a statement's result.
void applyColumnOverrides(ResultSet& result, const Connection& connection);

} // namespace veltro::testdriver
