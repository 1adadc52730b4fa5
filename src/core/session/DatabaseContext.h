#pragma once

#include "session/DatabaseList.h"

#include <optional>
#include <string>

namespace veltro {

class DatabaseBoxView;
class Session;

inline constexpr const char* refreshEntry = "<Refresh>";
inline constexpr const char* noDataEntry = "<No Data>";
inline constexpr const char* notSupportedEntry = "<Not supported>";

// The current database of a session on a server of the SQL Server family, and the box
// that lists the server's databases and switches between them. Used on the thread that
// owns the session, and only while no batch runs: the connection is the worker's then.
class DatabaseContext {
public:
    DatabaseContext(Session& session, DatabaseBoxView& view);

    // The connection has just opened: on the SQL Server family switch to the database
    // asked for (unless it is "<No Data>") and fill the box; on any other DBMS the box
    // says "<Not supported>" and stays disabled.
    void setUp(const std::optional<std::string>& database);

    // Refills the box and selects the current database; whether the list query ran.
    bool FillDatabaseList();
    // Asks the server for its current database and selects it; whether the query ran.
    bool SelectCurrentDatabase();
    // Makes the name the connection's current database; false on any failure, which is
    // not shown.
    bool UseDatabase(const std::string& name);
    // The user picked the box's entry at index.
    void SelectionChanged(int index);
    // The server named this database current (asked here, or by a worker at the end of
    // its batch): remember it and select its entry.
    void applyCurrentDatabase(const std::string& name);

    // The box is enabled while the session is connected to the SQL Server family and
    // runs no batch.
    bool boxEnabled(bool batchRunning) const;
    const DatabaseList& list() const { return entries; }

private:
    void selectCurrentEntry();
    void show();

    Session& session;
    DatabaseBoxView& view;
    DatabaseList entries;
};

} // namespace veltro
