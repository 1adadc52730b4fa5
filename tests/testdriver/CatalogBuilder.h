#pragma once

#include "Outcome.h"
#include "Profile.h"

#include <string>
#include <vector>

namespace veltro::testdriver {

class Connection;

// Builds the results of SQLTables, SQLColumns, SQLProcedures and SQLGetTypeInfo from
// the SQLite schema and the objects the profile declares. Column names follow the
// application's ODBC version (TABLE_QUALIFIER for 2.x, TABLE_CAT for 3.x).
class CatalogBuilder {
public:
    explicit CatalogBuilder(Connection& connection);

    Outcome tables(const OptionalText& catalog, const OptionalText& schema,
                   const OptionalText& table, const OptionalText& types);
    Outcome columns(const OptionalText& schema, const OptionalText& table,
                    const OptionalText& column);
    Outcome procedures(const OptionalText& schema, const OptionalText& procedure);
    Outcome typeInfo(SQLSMALLINT dataType);

private:
    struct SchemaObject {
        std::string name;
        std::string type;
    };

    std::vector<SchemaObject> schemaObjects();
    OptionalText schemaName() const;

    Connection& connection_;
    bool odbc2_;
};

} // namespace veltro::testdriver
