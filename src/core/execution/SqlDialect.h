#pragma once

#include <string_view>

namespace veltro {

// The rules a script's text follows where statements begin and end, as the DBMS's own
// command-line client reads them.
enum class SqlDialect { portable, postgres, mysql, sqlite };

// The dialect of a DBMS, from its SQL_DBMS_NAME.
SqlDialect sqlDialectOf(std::string_view dbmsName);

// Whether the DBMS gets a script as one batch: T-SQL gives a batch a meaning of its own
// (variables and temporary objects live for the batch) on the SQL Server family and Sybase.
// Every other DBMS gets a script statement by statement.
bool takesWholeBatches(std::string_view dbmsName, bool isSqlServerFamily);

} // namespace veltro
