#pragma once

#include <string_view>

namespace veltro {

class WorkerHost;
struct WorkerContext;

// A value as a grid or text buffer takes it: up to its first NUL character.
inline std::string_view cutAtNul(std::string_view value) {
    return value.substr(0, value.find('\0'));
}

// After the batch: on the SQL Server family, when the batch may have switched the database
// and was not cancelled, ask the server for its current database on the batch's recordset
// and post the name to the window. Errors are ignored.
void refreshDatabaseAfterBatch(const WorkerContext& context, WorkerHost& host);

} // namespace veltro
