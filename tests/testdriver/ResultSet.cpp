#include "ResultSet.h"

#include "SqlTypeMapper.h"

namespace veltro::testdriver {

ResultBuilder& ResultBuilder::column(std::string name, SQLSMALLINT sqlType, SQLULEN size) {
    ColumnInfo column;
    column.name = std::move(name);
    column.sqlType = sqlType;
    column.typeName = typeNameOf(sqlType);
    column.size = sqlType == SQL_SMALLINT ? 5 : sqlType == SQL_INTEGER ? 10 : size;
    column.nullable = SQL_NULLABLE;
    result_.columns.push_back(std::move(column));
    return *this;
}

ResultBuilder& ResultBuilder::row(std::vector<std::optional<std::string>> values) {
    std::vector<Value> row;
    row.reserve(result_.columns.size());
    for (size_t i = 0; i < result_.columns.size(); ++i) {
        const bool present = i < values.size() && values[i].has_value();
        row.push_back(present ? Value::text(std::move(*values[i])) : Value::null());
    }
    result_.rows.push_back(std::move(row));
    return *this;
}

} // namespace veltro::testdriver
