#pragma once

#include "odbc/CRecordsetEx.h"

#include <cstdint>
#include <optional>
#include <string>

namespace veltro {

// One row of SQLGetTypeInfo, the columns the driver information reads, each with its null
// status (an empty optional is NULL).
struct TypeInfoRow {
    std::string typeName;
    std::int32_t dataType = 0;
    std::optional<std::int32_t> precision;
    std::optional<std::string> literalPrefix;
    std::optional<std::string> literalSuffix;
    std::optional<std::string> createParams;
    std::optional<std::int32_t> nullable;
    std::optional<std::int32_t> caseSensitive;
    std::optional<std::int32_t> searchable;
    std::optional<std::int32_t> unsignedAttribute;
    std::optional<std::int32_t> money;
    std::optional<std::int32_t> autoIncrement;
    std::optional<std::int32_t> minimumScale;
    std::optional<std::int32_t> maximumScale;
};

// A read-only, forward-only recordset over the driver's data types (SQLGetTypeInfo). The
// columns are read by position, which ODBC 2 and 3 drivers share, whatever they name them.
class CTypeInfo : public CRecordsetEx {
public:
    using CRecordsetEx::CRecordsetEx;

    // False when the driver does not offer SQLGetTypeInfo; a failing call throws
    // DatabaseError. Otherwise the set is open on its first row (or at its end).
    bool OpenTypeInfo(SQLSMALLINT sqlType);

    // Reads the current row; once per row.
    TypeInfoRow currentRow();
};

} // namespace veltro
