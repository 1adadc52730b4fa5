#pragma once

#include "catalog/CatalogRecordset.h"

namespace veltro {

// Stored procedures of a connection (SQLProcedures). Fields by position:
// PROCEDURE_QUALIFIER, PROCEDURE_OWNER, PROCEDURE_NAME, REMARKS (text), PROCEDURE_TYPE
// (number). Being bound by position, the last two receive the fourth and fifth result
// columns, which in ODBC 2 are NUM_INPUT_PARAMS and NUM_OUTPUT_PARAMS.
class CStoredProcedures : public CatalogRecordset {
public:
    explicit CStoredProcedures(std::shared_ptr<OdbcConnection> connection);

    // As CTables::Open; "<::SQLProcedures> not supported." when the driver lacks the function.
    bool Open(const CatalogArgument& qualifier, const CatalogArgument& owner,
              const CatalogArgument& name);

    std::string procedureOwner() const { return textField(1); }
    std::string procedureName() const { return textField(2); }
};

} // namespace veltro
