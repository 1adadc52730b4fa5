#pragma once

#include "Outcome.h"

#include <optional>
#include <string_view>

namespace veltro::testdriver {

class Connection;

// Answers the exact statements the program sends to learn about databases and
// object sources (SQL Server, SQL Anywhere, Oracle), before SQLite sees them.
class DbmsEmulator {
public:
    explicit DbmsEmulator(Connection& connection) : connection_(connection) {}

    // nullopt when the statement is not one of the emulated ones.
    std::optional<Outcome> run(std::string_view statement);

private:
    Outcome sourceRows(std::string_view name, const char* columnName, bool failWhenUnknown);
    Outcome stats();

    Connection& connection_;
};

} // namespace veltro::testdriver
