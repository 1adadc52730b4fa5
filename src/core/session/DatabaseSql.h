#pragma once

#include <optional>
#include <string>

namespace veltro {

class CRecordsetEx;

// What the database context sends to a server of the SQL Server family.
inline constexpr const char* databaseListSql =
    "SELECT name FROM master..sysdatabases ORDER BY name";
inline constexpr const char* currentDatabaseSql = "select db_name() dbname";

// The server's answer to the current-database question.
struct CurrentDatabaseAnswer {
    // Whether the question was asked: false when no statement could be had or the server
    // raised a database error.
    bool ran = false;
    // The name, when the answer had a row.
    std::optional<std::string> name;
};

// Asks on the recordset, which is closed first (errors ignored) and again once the name
// is read. A database error gives an answer that did not run; other errors pass on.
CurrentDatabaseAnswer queryCurrentDatabase(CRecordsetEx& recordset);

// Runs "use " + name on the session's recordset, whose cancel scope every call goes
// through, reading and discarding whatever it returns. A failure throws DatabaseError.
void runUseDatabase(CRecordsetEx& recordset, const std::string& name);

} // namespace veltro
