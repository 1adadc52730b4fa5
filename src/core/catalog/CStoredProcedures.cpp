#include "catalog/CStoredProcedures.h"

#include <sqlext.h>

namespace veltro {

CStoredProcedures::CStoredProcedures(std::shared_ptr<OdbcConnection> connection)
    : CatalogRecordset(std::move(connection), {FieldType::text, FieldType::text, FieldType::text,
                                               FieldType::text, FieldType::number}) {}

bool CStoredProcedures::Open(const CatalogArgument& qualifier, const CatalogArgument& owner,
                             const CatalogArgument& name) {
    return openCatalog(SQL_API_SQLPROCEDURES, "<::SQLProcedures> not supported.", [&](SQLHSTMT h) {
        return SQLProcedures(h, argument(qualifier), SQL_NTS, argument(owner), SQL_NTS,
                             argument(name), SQL_NTS);
    });
}

} // namespace veltro
