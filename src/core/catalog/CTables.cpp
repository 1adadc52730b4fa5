#include "catalog/CTables.h"

#include <sqlext.h>

namespace veltro {

CTables::CTables(std::shared_ptr<OdbcConnection> connection)
    : CatalogRecordset(std::move(connection), std::vector<FieldType>(5, FieldType::text)) {}

bool CTables::Open(const CatalogArgument& qualifier, const CatalogArgument& owner,
                   const CatalogArgument& name, const CatalogArgument& type) {
    return openCatalog(SQL_API_SQLTABLES, "<::SQLTables> not supported.", [&](SQLHSTMT h) {
        return SQLTables(h, argument(qualifier), SQL_NTS, argument(owner), SQL_NTS, argument(name),
                         SQL_NTS, argument(type), SQL_NTS);
    });
}

} // namespace veltro
