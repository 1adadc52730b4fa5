#include "SqlTypeMapper.h"

#include "StringUtil.h"

#include <charconv>
#include <regex>

namespace veltro::testdriver {

namespace {

struct NamedType {
    const char* name;
    SQLSMALLINT type;
};

constexpr NamedType namedTypes[] = {
    {"CHAR", SQL_CHAR},
    {"VARCHAR", SQL_VARCHAR},
    {"LONGVARCHAR", SQL_LONGVARCHAR},
    {"WCHAR", SQL_WCHAR},
    {"WVARCHAR", SQL_WVARCHAR},
    {"WLONGVARCHAR", SQL_WLONGVARCHAR},
    {"DECIMAL", SQL_DECIMAL},
    {"NUMERIC", SQL_NUMERIC},
    {"SMALLINT", SQL_SMALLINT},
    {"INTEGER", SQL_INTEGER},
    {"REAL", SQL_REAL},
    {"FLOAT", SQL_FLOAT},
    {"DOUBLE", SQL_DOUBLE},
    {"BIT", SQL_BIT},
    {"TINYINT", SQL_TINYINT},
    {"BIGINT", SQL_BIGINT},
    {"BINARY", SQL_BINARY},
    {"VARBINARY", SQL_VARBINARY},
    {"LONGVARBINARY", SQL_LONGVARBINARY},
    {"TYPE_DATE", SQL_TYPE_DATE},
    {"TYPE_TIME", SQL_TYPE_TIME},
    {"TYPE_TIMESTAMP", SQL_TYPE_TIMESTAMP},
    {"DATE", SQL_DATE},
    {"TIME", SQL_TIME},
    {"TIMESTAMP", SQL_TIMESTAMP},
    {"GUID", SQL_GUID},
};

std::optional<long> parseLong(std::string_view text) {
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// Reads "(n)" or "(p,s)" after a declared type name.
void readLengths(const std::string& declared, std::optional<SQLULEN>& size,
                 std::optional<SQLSMALLINT>& digits) {
    static const std::regex lengths(R"(\(\s*(\d+)\s*(?:,\s*(\d+)\s*)?\))");
    std::smatch match;
    if (!std::regex_search(declared, match, lengths))
        return;
    size = std::stoul(match[1].str());
    if (match[2].matched)
        digits = static_cast<SQLSMALLINT>(std::stoi(match[2].str()));
}

bool contains(const std::string& text, const char* word) {
    return text.find(word) != std::string::npos;
}

SQLSMALLINT sqlTypeOfDeclared(const std::string& declared) {
    if (contains(declared, "BIGINT"))
        return SQL_BIGINT;
    if (contains(declared, "SMALLINT"))
        return SQL_SMALLINT;
    if (contains(declared, "TINYINT"))
        return SQL_TINYINT;
    if (contains(declared, "INT"))
        return SQL_INTEGER;
    if (contains(declared, "LONGTEXT") || contains(declared, "CLOB") ||
        contains(declared, "LONGVARCHAR") || contains(declared, "MEMO") ||
        contains(declared, "NTEXT"))
        return SQL_LONGVARCHAR;
    if (contains(declared, "VARBINARY"))
        return SQL_VARBINARY;
    if (contains(declared, "BINARY"))
        return SQL_BINARY;
    if (contains(declared, "BLOB") || contains(declared, "IMAGE"))
        return SQL_LONGVARBINARY;
    if (contains(declared, "VARCHAR") || contains(declared, "TEXT"))
        return SQL_VARCHAR;
    if (contains(declared, "CHAR"))
        return SQL_CHAR;
    if (contains(declared, "DEC") || contains(declared, "MONEY"))
        return SQL_DECIMAL;
    if (contains(declared, "NUMERIC"))
        return SQL_NUMERIC;
    if (contains(declared, "DOUBLE"))
        return SQL_DOUBLE;
    if (contains(declared, "FLOAT"))
        return SQL_FLOAT;
    if (contains(declared, "REAL"))
        return SQL_REAL;
    if (contains(declared, "DATETIME") || contains(declared, "TIMESTAMP"))
        return SQL_TYPE_TIMESTAMP;
    if (contains(declared, "DATE"))
        return SQL_TYPE_DATE;
    if (contains(declared, "TIME"))
        return SQL_TYPE_TIME;
    if (contains(declared, "BIT") || contains(declared, "BOOL"))
        return SQL_BIT;
    return SQL_VARCHAR;
}

} // namespace

std::optional<SQLSMALLINT> sqlTypeFromName(std::string_view name) {
    std::string key = upper(trim(name));
    if (key.rfind("SQL_", 0) == 0)
        key = key.substr(4);
    if (const auto number = parseLong(key))
        return static_cast<SQLSMALLINT>(*number);
    for (const auto& named : namedTypes) {
        if (key == named.name)
            return named.type;
    }
    return std::nullopt;
}

std::string typeNameOf(SQLSMALLINT sqlType) {
    for (const auto& named : namedTypes) {
        if (named.type == sqlType) {
            const std::string_view name = named.name;
            return std::string(name.substr(0, 5) == "TYPE_" ? name.substr(5) : name);
        }
    }
    return "UNKNOWN";
}

SQLULEN defaultSizeOf(SQLSMALLINT sqlType) {
    switch (sqlType) {
    case SQL_LONGVARCHAR:
    case SQL_LONGVARBINARY:
    case SQL_WLONGVARCHAR:
        return 2147483647;
    case SQL_DECIMAL:
    case SQL_NUMERIC:
        return 18;
    case SQL_SMALLINT:
        return 5;
    case SQL_INTEGER:
        return 10;
    case SQL_TINYINT:
        return 3;
    case SQL_BIGINT:
        return 19;
    case SQL_REAL:
        return 7;
    case SQL_FLOAT:
    case SQL_DOUBLE:
        return 15;
    case SQL_BIT:
        return 1;
    case SQL_TYPE_DATE:
    case SQL_DATE:
        return 10;
    case SQL_TYPE_TIME:
    case SQL_TIME:
        return 8;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
        return 23;
    case SQL_GUID:
        return 36;
    default:
        return 255;
    }
}

bool isLongType(SQLSMALLINT sqlType) {
    return sqlType == SQL_LONGVARCHAR || sqlType == SQL_LONGVARBINARY ||
           sqlType == SQL_WLONGVARCHAR;
}

bool isCharacterType(SQLSMALLINT sqlType) {
    return sqlType == SQL_CHAR || sqlType == SQL_VARCHAR || sqlType == SQL_LONGVARCHAR ||
           sqlType == SQL_WCHAR || sqlType == SQL_WVARCHAR || sqlType == SQL_WLONGVARCHAR;
}

std::optional<TypeSpec> parseTypeSpec(std::string_view text) {
    const std::string declared = trim(text);
    const size_t paren = declared.find('(');
    const auto type = sqlTypeFromName(declared.substr(0, paren));
    if (!type)
        return std::nullopt;
    TypeSpec result;
    result.sqlType = *type;
    if (paren != std::string::npos)
        readLengths(declared.substr(paren), result.size, result.digits);
    return result;
}

ColumnInfo columnFromDeclaredType(std::string name, const char* declaredType) {
    ColumnInfo column;
    column.name = std::move(name);
    if (declaredType == nullptr || *declaredType == '\0') {
        column.sqlType = SQL_VARCHAR;
        column.typeName = "VARCHAR";
        column.size = 255;
        return column;
    }
    const std::string declared = upper(declaredType);
    column.sqlType = sqlTypeOfDeclared(declared);
    column.typeName = trim(declared.substr(0, declared.find('(')));
    std::optional<SQLULEN> size;
    std::optional<SQLSMALLINT> digits;
    readLengths(declared, size, digits);
    const bool sized = column.sqlType == SQL_CHAR || column.sqlType == SQL_VARCHAR ||
                       column.sqlType == SQL_BINARY || column.sqlType == SQL_VARBINARY ||
                       column.sqlType == SQL_DECIMAL || column.sqlType == SQL_NUMERIC;
    column.size = sized && size ? *size : defaultSizeOf(column.sqlType);
    if (column.sqlType == SQL_DECIMAL || column.sqlType == SQL_NUMERIC)
        column.digits = digits.value_or(0);
    if (column.sqlType == SQL_TYPE_TIMESTAMP)
        column.digits = 3;
    return column;
}

void applyTypeSpec(ColumnInfo& column, const TypeSpec& declared) {
    column.sqlType = declared.sqlType;
    column.typeName = typeNameOf(declared.sqlType);
    column.size = declared.size.value_or(defaultSizeOf(declared.sqlType));
    column.digits = declared.digits.value_or(0);
}

} // namespace veltro::testdriver
