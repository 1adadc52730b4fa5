#pragma once

#include <sql.h>
#include <sqlext.h>

#include <optional>
#include <string>
#include <vector>

namespace veltro::testdriver {

struct Value {
    bool isNull = true;
    // BLOB bytes; converted to hex when read as SQL_C_CHAR.
    bool isBinary = false;
    std::string bytes;

    static Value null() { return {}; }
    static Value text(std::string bytes) { return {false, false, std::move(bytes)}; }
    static Value binary(std::string bytes) { return {false, true, std::move(bytes)}; }
};

struct ColumnInfo {
    std::string name;
    std::string typeName;
    SQLSMALLINT sqlType = SQL_VARCHAR;
    SQLULEN size = 255;
    SQLSMALLINT digits = 0;
    SQLSMALLINT nullable = SQL_NULLABLE_UNKNOWN;
    std::string table;
};

// One result of a statement: columns and rows, or only a row count.
struct ResultSet {
    std::vector<ColumnInfo> columns;
    std::vector<std::vector<Value>> rows;
    SQLLEN rowCount = -1;

    bool hasCursor() const { return !columns.empty(); }
};

// Builds catalog-style results whose columns are all declared up front.
class ResultBuilder {
public:
    ResultBuilder& column(std::string name, SQLSMALLINT sqlType, SQLULEN size = 128);
    ResultBuilder& row(std::vector<std::optional<std::string>> values);
    ResultSet take() { return std::move(result_); }

private:
    ResultSet result_;
};

} // namespace veltro::testdriver
