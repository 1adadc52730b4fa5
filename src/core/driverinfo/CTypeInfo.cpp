#include "driverinfo/CTypeInfo.h"

#include "odbc/OdbcConnection.h"

#include <sqlext.h>

#include <cstdlib>

namespace veltro {

namespace {

std::int32_t toInt(const std::string& text) {
    return static_cast<std::int32_t>(std::strtoll(text.c_str(), nullptr, 10));
}

} // namespace

bool CTypeInfo::OpenTypeInfo(SQLSMALLINT sqlType) {
    Close();
    try {
        if (!connection().supportsFunction(SQL_API_SQLGETTYPEINFO)) {
            return false;
        }
    } catch (const DatabaseError&) {
        // A driver that cannot say whether it has the function is taken not to have it.
        return false;
    }
    if (!allocateStatement()) {
        throw *allocationFailure();
    }
    openWithCall([sqlType](SQLHSTMT h) { return SQLGetTypeInfo(h, sqlType); });
    return true;
}

TypeInfoRow CTypeInfo::currentRow() {
    std::string value;
    bool isNull = false;
    int column = 0;
    const auto text = [&]() -> std::optional<std::string> {
        GetFieldValue(column++, value, &isNull);
        return isNull ? std::nullopt : std::optional<std::string>(value);
    };
    const auto number = [&]() -> std::optional<std::int32_t> {
        const auto read = text();
        return read ? std::optional<std::int32_t>(toInt(*read)) : std::nullopt;
    };
    TypeInfoRow row;
    row.typeName = text().value_or("");
    row.dataType = number().value_or(0);
    row.precision = number();
    row.literalPrefix = text();
    row.literalSuffix = text();
    row.createParams = text();
    row.nullable = number();
    row.caseSensitive = number();
    row.searchable = number();
    row.unsignedAttribute = number();
    row.money = number();
    row.autoIncrement = number();
    text(); // LOCAL_TYPE_NAME
    row.minimumScale = number();
    row.maximumScale = number();
    return row;
}

} // namespace veltro
