#pragma once

#include "Diagnostics.h"
#include "ResultSet.h"

namespace veltro::testdriver {

// Answers SQLColAttribute (and, through the driver manager, ODBC 2 SQLColAttributes)
// for one column of a result with `columnCount` columns.
SQLRETURN columnAttribute(const ColumnInfo& column, size_t columnCount, SQLUSMALLINT field,
                          SQLPOINTER text, SQLSMALLINT bufferLength, SQLSMALLINT* length,
                          SQLLEN* number, Diagnostics& diagnostics);

} // namespace veltro::testdriver
