#pragma once

#include "catalog/CatalogRecordset.h"

namespace veltro {

// The columns of a table (SQLColumns). Fields by position: TABLE_QUALIFIER, TABLE_OWNER,
// TABLE_NAME, COLUMN_NAME, DATA_TYPE, TYPE_NAME, PRECISION, LENGTH, SCALE, RADIX, NULLABLE,
// REMARKS.
class CColumns : public CatalogRecordset {
public:
    explicit CColumns(std::shared_ptr<OdbcConnection> connection);

    // As CTables::Open; the table and column arguments are search patterns.
    // "<::SQLColumns> not supported." when the driver lacks the function.
    bool Open(const CatalogArgument& qualifier, const CatalogArgument& owner,
              const CatalogArgument& table, const CatalogArgument& column);

    std::string columnName() const { return textField(3); }
};

} // namespace veltro
