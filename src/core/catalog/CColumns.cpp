#include "catalog/CColumns.h"

#include <sqlext.h>

namespace veltro {

namespace {

using Type = CatalogRecordset::FieldType;

} // namespace

CColumns::CColumns(std::shared_ptr<OdbcConnection> connection)
    : CatalogRecordset(std::move(connection),
                       {Type::text, Type::text, Type::text, Type::text, Type::number, Type::text,
                        Type::number, Type::number, Type::number, Type::number, Type::number,
                        Type::text}) {}

bool CColumns::Open(const CatalogArgument& qualifier, const CatalogArgument& owner,
                    const CatalogArgument& table, const CatalogArgument& column) {
    return openCatalog(SQL_API_SQLCOLUMNS, "<::SQLColumns> not supported.", [&](SQLHSTMT h) {
        return SQLColumns(h, argument(qualifier), SQL_NTS, argument(owner), SQL_NTS,
                          argument(table), SQL_NTS, argument(column), SQL_NTS);
    });
}

} // namespace veltro
