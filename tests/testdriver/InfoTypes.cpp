#include "InfoTypes.h"

#include "StringUtil.h"

#include <charconv>
#include <map>

namespace veltro::testdriver {

namespace {

#define VELTRO_INFO(name, kind)                                                                    \
    { #name, name, InfoKind::kind }

constexpr InfoType infoTypes[] = {
    VELTRO_INFO(SQL_ACCESSIBLE_PROCEDURES, String),
    VELTRO_INFO(SQL_ACCESSIBLE_TABLES, String),
    VELTRO_INFO(SQL_ACTIVE_ENVIRONMENTS, UShort),
    VELTRO_INFO(SQL_AGGREGATE_FUNCTIONS, UInteger),
    VELTRO_INFO(SQL_ALTER_DOMAIN, UInteger),
    VELTRO_INFO(SQL_ALTER_TABLE, UInteger),
    VELTRO_INFO(SQL_ASYNC_MODE, UInteger),
    VELTRO_INFO(SQL_BATCH_ROW_COUNT, UInteger),
    VELTRO_INFO(SQL_BATCH_SUPPORT, UInteger),
    VELTRO_INFO(SQL_BOOKMARK_PERSISTENCE, UInteger),
    VELTRO_INFO(SQL_CATALOG_LOCATION, UShort),
    VELTRO_INFO(SQL_CATALOG_NAME, String),
    VELTRO_INFO(SQL_CATALOG_NAME_SEPARATOR, String),
    VELTRO_INFO(SQL_CATALOG_TERM, String),
    VELTRO_INFO(SQL_CATALOG_USAGE, UInteger),
    VELTRO_INFO(SQL_COLLATION_SEQ, String),
    VELTRO_INFO(SQL_COLUMN_ALIAS, String),
    VELTRO_INFO(SQL_CONCAT_NULL_BEHAVIOR, UShort),
    VELTRO_INFO(SQL_CONVERT_BIGINT, UInteger),
    VELTRO_INFO(SQL_CONVERT_BINARY, UInteger),
    VELTRO_INFO(SQL_CONVERT_BIT, UInteger),
    VELTRO_INFO(SQL_CONVERT_CHAR, UInteger),
    VELTRO_INFO(SQL_CONVERT_DATE, UInteger),
    VELTRO_INFO(SQL_CONVERT_DECIMAL, UInteger),
    VELTRO_INFO(SQL_CONVERT_DOUBLE, UInteger),
    VELTRO_INFO(SQL_CONVERT_FLOAT, UInteger),
    VELTRO_INFO(SQL_CONVERT_FUNCTIONS, UInteger),
    VELTRO_INFO(SQL_CONVERT_INTEGER, UInteger),
    VELTRO_INFO(SQL_CONVERT_LONGVARBINARY, UInteger),
    VELTRO_INFO(SQL_CONVERT_LONGVARCHAR, UInteger),
    VELTRO_INFO(SQL_CONVERT_NUMERIC, UInteger),
    VELTRO_INFO(SQL_CONVERT_REAL, UInteger),
    VELTRO_INFO(SQL_CONVERT_SMALLINT, UInteger),
    VELTRO_INFO(SQL_CONVERT_TIME, UInteger),
    VELTRO_INFO(SQL_CONVERT_TIMESTAMP, UInteger),
    VELTRO_INFO(SQL_CONVERT_TINYINT, UInteger),
    VELTRO_INFO(SQL_CONVERT_VARBINARY, UInteger),
    VELTRO_INFO(SQL_CONVERT_VARCHAR, UInteger),
    VELTRO_INFO(SQL_CORRELATION_NAME, UShort),
    VELTRO_INFO(SQL_CREATE_TABLE, UInteger),
    VELTRO_INFO(SQL_CREATE_VIEW, UInteger),
    VELTRO_INFO(SQL_CURSOR_COMMIT_BEHAVIOR, UShort),
    VELTRO_INFO(SQL_CURSOR_ROLLBACK_BEHAVIOR, UShort),
    VELTRO_INFO(SQL_CURSOR_SENSITIVITY, UInteger),
    VELTRO_INFO(SQL_DATA_SOURCE_NAME, String),
    VELTRO_INFO(SQL_DATA_SOURCE_READ_ONLY, String),
    VELTRO_INFO(SQL_DATABASE_NAME, String),
    VELTRO_INFO(SQL_DATETIME_LITERALS, UInteger),
    VELTRO_INFO(SQL_DBMS_NAME, String),
    VELTRO_INFO(SQL_DBMS_VER, String),
    VELTRO_INFO(SQL_DDL_INDEX, UInteger),
    VELTRO_INFO(SQL_DEFAULT_TXN_ISOLATION, UInteger),
    VELTRO_INFO(SQL_DESCRIBE_PARAMETER, String),
    VELTRO_INFO(SQL_DRIVER_NAME, String),
    VELTRO_INFO(SQL_DRIVER_ODBC_VER, String),
    VELTRO_INFO(SQL_DRIVER_VER, String),
    VELTRO_INFO(SQL_DROP_TABLE, UInteger),
    VELTRO_INFO(SQL_DROP_VIEW, UInteger),
    VELTRO_INFO(SQL_DYNAMIC_CURSOR_ATTRIBUTES1, UInteger),
    VELTRO_INFO(SQL_DYNAMIC_CURSOR_ATTRIBUTES2, UInteger),
    VELTRO_INFO(SQL_EXPRESSIONS_IN_ORDERBY, String),
    VELTRO_INFO(SQL_FETCH_DIRECTION, UInteger),
    VELTRO_INFO(SQL_FILE_USAGE, UShort),
    VELTRO_INFO(SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1, UInteger),
    VELTRO_INFO(SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES2, UInteger),
    VELTRO_INFO(SQL_GETDATA_EXTENSIONS, UInteger),
    VELTRO_INFO(SQL_GROUP_BY, UShort),
    VELTRO_INFO(SQL_IDENTIFIER_CASE, UShort),
    VELTRO_INFO(SQL_IDENTIFIER_QUOTE_CHAR, String),
    VELTRO_INFO(SQL_INDEX_KEYWORDS, UInteger),
    VELTRO_INFO(SQL_INFO_SCHEMA_VIEWS, UInteger),
    VELTRO_INFO(SQL_INSERT_STATEMENT, UInteger),
    VELTRO_INFO(SQL_INTEGRITY, String),
    VELTRO_INFO(SQL_KEYSET_CURSOR_ATTRIBUTES1, UInteger),
    VELTRO_INFO(SQL_KEYSET_CURSOR_ATTRIBUTES2, UInteger),
    VELTRO_INFO(SQL_KEYWORDS, String),
    VELTRO_INFO(SQL_LIKE_ESCAPE_CLAUSE, String),
    VELTRO_INFO(SQL_LOCK_TYPES, UInteger),
    VELTRO_INFO(SQL_MAX_ASYNC_CONCURRENT_STATEMENTS, UInteger),
    VELTRO_INFO(SQL_MAX_BINARY_LITERAL_LEN, UInteger),
    VELTRO_INFO(SQL_MAX_CATALOG_NAME_LEN, UShort),
    VELTRO_INFO(SQL_MAX_CHAR_LITERAL_LEN, UInteger),
    VELTRO_INFO(SQL_MAX_COLUMN_NAME_LEN, UShort),
    VELTRO_INFO(SQL_MAX_COLUMNS_IN_GROUP_BY, UShort),
    VELTRO_INFO(SQL_MAX_COLUMNS_IN_INDEX, UShort),
    VELTRO_INFO(SQL_MAX_COLUMNS_IN_ORDER_BY, UShort),
    VELTRO_INFO(SQL_MAX_COLUMNS_IN_SELECT, UShort),
    VELTRO_INFO(SQL_MAX_COLUMNS_IN_TABLE, UShort),
    VELTRO_INFO(SQL_MAX_CONCURRENT_ACTIVITIES, UShort),
    VELTRO_INFO(SQL_MAX_CURSOR_NAME_LEN, UShort),
    VELTRO_INFO(SQL_MAX_DRIVER_CONNECTIONS, UShort),
    VELTRO_INFO(SQL_MAX_IDENTIFIER_LEN, UShort),
    VELTRO_INFO(SQL_MAX_INDEX_SIZE, UInteger),
    VELTRO_INFO(SQL_MAX_PROCEDURE_NAME_LEN, UShort),
    VELTRO_INFO(SQL_MAX_ROW_SIZE, UInteger),
    VELTRO_INFO(SQL_MAX_ROW_SIZE_INCLUDES_LONG, String),
    VELTRO_INFO(SQL_MAX_SCHEMA_NAME_LEN, UShort),
    VELTRO_INFO(SQL_MAX_STATEMENT_LEN, UInteger),
    VELTRO_INFO(SQL_MAX_TABLE_NAME_LEN, UShort),
    VELTRO_INFO(SQL_MAX_TABLES_IN_SELECT, UShort),
    VELTRO_INFO(SQL_MAX_USER_NAME_LEN, UShort),
    VELTRO_INFO(SQL_MULT_RESULT_SETS, String),
    VELTRO_INFO(SQL_MULTIPLE_ACTIVE_TXN, String),
    VELTRO_INFO(SQL_NEED_LONG_DATA_LEN, String),
    VELTRO_INFO(SQL_NON_NULLABLE_COLUMNS, UShort),
    VELTRO_INFO(SQL_NULL_COLLATION, UShort),
    VELTRO_INFO(SQL_NUMERIC_FUNCTIONS, UInteger),
    VELTRO_INFO(SQL_ODBC_API_CONFORMANCE, UShort),
    VELTRO_INFO(SQL_ODBC_INTERFACE_CONFORMANCE, UInteger),
    VELTRO_INFO(SQL_ODBC_SAG_CLI_CONFORMANCE, UShort),
    VELTRO_INFO(SQL_ODBC_SQL_CONFORMANCE, UShort),
    VELTRO_INFO(SQL_ODBC_VER, String),
    VELTRO_INFO(SQL_OJ_CAPABILITIES, UInteger),
    VELTRO_INFO(SQL_ORDER_BY_COLUMNS_IN_SELECT, String),
    VELTRO_INFO(SQL_OUTER_JOINS, String),
    VELTRO_INFO(SQL_PARAM_ARRAY_ROW_COUNTS, UInteger),
    VELTRO_INFO(SQL_PARAM_ARRAY_SELECTS, UInteger),
    VELTRO_INFO(SQL_POS_OPERATIONS, UInteger),
    VELTRO_INFO(SQL_POSITIONED_STATEMENTS, UInteger),
    VELTRO_INFO(SQL_PROCEDURE_TERM, String),
    VELTRO_INFO(SQL_PROCEDURES, String),
    VELTRO_INFO(SQL_QUOTED_IDENTIFIER_CASE, UShort),
    VELTRO_INFO(SQL_ROW_UPDATES, String),
    VELTRO_INFO(SQL_SCHEMA_TERM, String),
    VELTRO_INFO(SQL_SCHEMA_USAGE, UInteger),
    VELTRO_INFO(SQL_SCROLL_CONCURRENCY, UInteger),
    VELTRO_INFO(SQL_SCROLL_OPTIONS, UInteger),
    VELTRO_INFO(SQL_SEARCH_PATTERN_ESCAPE, String),
    VELTRO_INFO(SQL_SERVER_NAME, String),
    VELTRO_INFO(SQL_SPECIAL_CHARACTERS, String),
    VELTRO_INFO(SQL_SQL_CONFORMANCE, UInteger),
    VELTRO_INFO(SQL_STATIC_CURSOR_ATTRIBUTES1, UInteger),
    VELTRO_INFO(SQL_STATIC_CURSOR_ATTRIBUTES2, UInteger),
    VELTRO_INFO(SQL_STATIC_SENSITIVITY, UInteger),
    VELTRO_INFO(SQL_STRING_FUNCTIONS, UInteger),
    VELTRO_INFO(SQL_SUBQUERIES, UInteger),
    VELTRO_INFO(SQL_SYSTEM_FUNCTIONS, UInteger),
    VELTRO_INFO(SQL_TABLE_TERM, String),
    VELTRO_INFO(SQL_TIMEDATE_ADD_INTERVALS, UInteger),
    VELTRO_INFO(SQL_TIMEDATE_DIFF_INTERVALS, UInteger),
    VELTRO_INFO(SQL_TIMEDATE_FUNCTIONS, UInteger),
    VELTRO_INFO(SQL_TXN_CAPABLE, UShort),
    VELTRO_INFO(SQL_TXN_ISOLATION_OPTION, UInteger),
    VELTRO_INFO(SQL_UNION, UInteger),
    VELTRO_INFO(SQL_USER_NAME, String),
    VELTRO_INFO(SQL_XOPEN_CLI_YEAR, String),
    // ODBC 2 names of info types renamed in ODBC 3.
    VELTRO_INFO(SQL_OWNER_TERM, String),
    VELTRO_INFO(SQL_QUALIFIER_TERM, String),
    VELTRO_INFO(SQL_QUALIFIER_NAME_SEPARATOR, String),
    VELTRO_INFO(SQL_MAX_OWNER_NAME_LEN, UShort),
    VELTRO_INFO(SQL_MAX_QUALIFIER_NAME_LEN, UShort),
    VELTRO_INFO(SQL_OWNER_USAGE, UInteger),
    VELTRO_INFO(SQL_QUALIFIER_USAGE, UInteger),
    VELTRO_INFO(SQL_QUALIFIER_LOCATION, UShort),
};

#undef VELTRO_INFO

std::optional<SQLUINTEGER> parseNumber(std::string_view text) {
    const std::string value = trim(text);
    int base = 10;
    std::string_view digits = value;
    if (istartsWith(digits, "0x")) {
        base = 16;
        digits.remove_prefix(2);
    }
    long long number = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), number, base);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.empty())
        return std::nullopt;
    return static_cast<SQLUINTEGER>(number);
}

InfoValue text(std::string value) {
    return {InfoKind::String, std::move(value), 0};
}
InfoValue u16(SQLUINTEGER value) {
    return {InfoKind::UShort, {}, value};
}
InfoValue u32(SQLUINTEGER value) {
    return {InfoKind::UInteger, {}, value};
}

const std::map<SQLUSMALLINT, InfoValue>& defaults() {
    static const std::map<SQLUSMALLINT, InfoValue> values = {
        {SQL_DBMS_NAME, text("Veltro Test DBMS")},
        {SQL_DBMS_VER, text("01.00.0000")},
        {SQL_DRIVER_NAME, text("libveltro_testdriver.so")},
        {SQL_DRIVER_VER, text("01.00.0000")},
        {SQL_DRIVER_ODBC_VER, text("03.00")},
        {SQL_SERVER_NAME, text("veltro-test")},
        {SQL_MULT_RESULT_SETS, text("Y")},
        {SQL_MULTIPLE_ACTIVE_TXN, text("Y")},
        {SQL_ODBC_API_CONFORMANCE, u16(SQL_OAC_LEVEL1)},
        {SQL_ODBC_SQL_CONFORMANCE, u16(SQL_OSC_CORE)},
        {SQL_ODBC_SAG_CLI_CONFORMANCE, u16(SQL_OSCC_COMPLIANT)},
        {SQL_ODBC_INTERFACE_CONFORMANCE, u32(SQL_OIC_CORE)},
        {SQL_SQL_CONFORMANCE, u32(SQL_SC_SQL92_ENTRY)},
        {SQL_ACCESSIBLE_TABLES, text("Y")},
        {SQL_ACCESSIBLE_PROCEDURES, text("Y")},
        {SQL_PROCEDURES, text("Y")},
        {SQL_DATA_SOURCE_READ_ONLY, text("N")},
        {SQL_IDENTIFIER_QUOTE_CHAR, text("\"")},
        {SQL_SEARCH_PATTERN_ESCAPE, text("\\")},
        {SQL_CATALOG_NAME_SEPARATOR, text(".")},
        {SQL_CATALOG_NAME, text("Y")},
        {SQL_CATALOG_TERM, text("database")},
        {SQL_SCHEMA_TERM, text("owner")},
        {SQL_TABLE_TERM, text("table")},
        {SQL_PROCEDURE_TERM, text("procedure")},
        {SQL_COLUMN_ALIAS, text("Y")},
        {SQL_EXPRESSIONS_IN_ORDERBY, text("Y")},
        {SQL_LIKE_ESCAPE_CLAUSE, text("Y")},
        {SQL_OUTER_JOINS, text("Y")},
        {SQL_NEED_LONG_DATA_LEN, text("N")},
        {SQL_ORDER_BY_COLUMNS_IN_SELECT, text("N")},
        {SQL_MAX_ROW_SIZE_INCLUDES_LONG, text("N")},
        {SQL_IDENTIFIER_CASE, u16(SQL_IC_MIXED)},
        {SQL_QUOTED_IDENTIFIER_CASE, u16(SQL_IC_SENSITIVE)},
        {SQL_TXN_CAPABLE, u16(SQL_TC_ALL)},
        {SQL_CURSOR_COMMIT_BEHAVIOR, u16(SQL_CB_PRESERVE)},
        {SQL_CURSOR_ROLLBACK_BEHAVIOR, u16(SQL_CB_PRESERVE)},
        {SQL_NULL_COLLATION, u16(SQL_NC_LOW)},
        {SQL_CONCAT_NULL_BEHAVIOR, u16(SQL_CB_NULL)},
        {SQL_MAX_COLUMN_NAME_LEN, u16(128)},
        {SQL_MAX_TABLE_NAME_LEN, u16(128)},
        {SQL_MAX_SCHEMA_NAME_LEN, u16(128)},
        {SQL_MAX_CATALOG_NAME_LEN, u16(128)},
        {SQL_MAX_PROCEDURE_NAME_LEN, u16(128)},
        {SQL_MAX_IDENTIFIER_LEN, u16(128)},
        {SQL_GETDATA_EXTENSIONS, u32(SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER)},
        {SQL_FETCH_DIRECTION, u32(SQL_FD_FETCH_NEXT)},
        {SQL_SCROLL_OPTIONS, u32(SQL_SO_FORWARD_ONLY)},
        {SQL_SCROLL_CONCURRENCY, u32(SQL_SCCO_READ_ONLY)},
        {SQL_DEFAULT_TXN_ISOLATION, u32(SQL_TXN_SERIALIZABLE)},
        {SQL_TXN_ISOLATION_OPTION, u32(SQL_TXN_SERIALIZABLE)},
        {SQL_ASYNC_MODE, u32(SQL_AM_NONE)},
        {SQL_BATCH_SUPPORT, u32(SQL_BS_SELECT_EXPLICIT | SQL_BS_ROW_COUNT_EXPLICIT)},
        {SQL_BATCH_ROW_COUNT, u32(SQL_BRC_EXPLICIT)},
        {SQL_ODBC_VER, text("03.52")},
        {SQL_XOPEN_CLI_YEAR, text("1995")},
    };
    return values;
}

} // namespace

const InfoType* findInfoType(SQLUSMALLINT id) {
    for (const auto& type : infoTypes) {
        if (type.id == id)
            return &type;
    }
    return nullptr;
}

const InfoType* findInfoType(std::string_view nameOrNumber) {
    if (const auto number = parseNumber(nameOrNumber))
        return findInfoType(static_cast<SQLUSMALLINT>(*number));
    for (const auto& type : infoTypes) {
        const std::string_view name = type.name;
        if (iequals(name, nameOrNumber) || iequals(name.substr(4), nameOrNumber))
            return &type;
    }
    return nullptr;
}

std::optional<SQLUSMALLINT> infoIdFromKey(std::string_view key) {
    if (const auto number = parseNumber(key))
        return static_cast<SQLUSMALLINT>(*number);
    if (const InfoType* type = findInfoType(key))
        return type->id;
    return std::nullopt;
}

std::optional<InfoValue> parseInfoValue(SQLUSMALLINT id, std::string_view text) {
    const InfoType* type = findInfoType(id);
    InfoKind kind = type ? type->kind : InfoKind::String;
    const std::string value = trim(text);
    std::string_view payload = value;
    if (istartsWith(payload, "str:")) {
        kind = InfoKind::String;
        payload.remove_prefix(4);
    } else if (istartsWith(payload, "u16:")) {
        kind = InfoKind::UShort;
        payload.remove_prefix(4);
    } else if (istartsWith(payload, "u32:")) {
        kind = InfoKind::UInteger;
        payload.remove_prefix(4);
    }
    if (kind == InfoKind::String)
        return InfoValue{kind, std::string(payload), 0};
    const auto number = parseNumber(payload);
    if (!number || (kind == InfoKind::UShort && *number > 0xFFFF))
        return std::nullopt;
    return InfoValue{kind, {}, *number};
}

std::optional<InfoValue> defaultInfoValue(SQLUSMALLINT id) {
    const auto& values = defaults();
    if (const auto it = values.find(id); it != values.end())
        return it->second;
    if (const InfoType* type = findInfoType(id))
        return InfoValue{type->kind, {}, 0};
    return std::nullopt;
}

} // namespace veltro::testdriver
