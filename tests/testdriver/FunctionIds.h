#pragma once

#include <sql.h>
#include <sqlext.h>

#include <optional>
#include <string_view>

namespace veltro::testdriver {

struct FunctionId {
    const char* name;
    SQLUSMALLINT id;
    // Exported by this driver, or an ODBC 2 call the driver manager maps onto one.
    bool implemented;
};

// Finds a function by "SQLTables" style name or by its SQL_API_ number.
std::optional<SQLUSMALLINT> findFunctionId(std::string_view nameOrNumber);
bool isImplemented(SQLUSMALLINT id);

} // namespace veltro::testdriver
