#pragma once

#include <string>

namespace veltro::test {

// A connect string for the scriptable test driver with the given attributes
// ("DBMS_NAME=Microsoft SQL Server;FailFetch=3", ...), on an in-memory database.
inline std::string testDriver(const std::string& attributes = "") {
    return "Driver={Veltro Test};" + attributes;
}

} // namespace veltro::test
