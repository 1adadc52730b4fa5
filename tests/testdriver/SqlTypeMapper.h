#pragma once

#include "ResultSet.h"

#include <optional>
#include <string>
#include <string_view>

namespace veltro::testdriver {

// A column type written in a profile: "SQL_DECIMAL(12,2)", "LONGVARCHAR", "-1", "12(40)".
struct TypeSpec {
    SQLSMALLINT sqlType = SQL_VARCHAR;
    std::optional<SQLULEN> size;
    std::optional<SQLSMALLINT> digits;
};

std::optional<TypeSpec> parseTypeSpec(std::string_view text);
std::optional<SQLSMALLINT> sqlTypeFromName(std::string_view name);
std::string typeNameOf(SQLSMALLINT sqlType);
SQLULEN defaultSizeOf(SQLSMALLINT sqlType);
bool isLongType(SQLSMALLINT sqlType);
bool isCharacterType(SQLSMALLINT sqlType);

// Maps an SQLite declared column type (may be null for expressions) to ODBC terms.
ColumnInfo columnFromDeclaredType(std::string name, const char* declaredType);

// Applies a TypeSpec to a column, keeping the column's name.
void applyTypeSpec(ColumnInfo& column, const TypeSpec& declared);

} // namespace veltro::testdriver
