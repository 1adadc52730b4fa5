#pragma once

#include "catalog/CatalogRecordset.h"

namespace veltro {

// Tables, views and system tables of a connection (SQLTables). Fields by position:
// TABLE_QUALIFIER, TABLE_OWNER, TABLE_NAME, TABLE_TYPE, REMARKS.
class CTables : public CatalogRecordset {
public:
    explicit CTables(std::shared_ptr<OdbcConnection> connection);

    // type: a comma-separated list of quoted table types ("'TABLE','VIEW'"). True when the
    // result is open on its first row or at its end; false when no statement handle could be
    // allocated. "<::SQLTables> not supported." when the driver lacks the function.
    bool Open(const CatalogArgument& qualifier, const CatalogArgument& owner,
              const CatalogArgument& name, const CatalogArgument& type);

    std::string tableOwner() const { return textField(1); }
    std::string tableName() const { return textField(2); }
    std::string tableType() const { return textField(3); }
};

} // namespace veltro
