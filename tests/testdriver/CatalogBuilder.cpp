#include "CatalogBuilder.h"

#include "Connection.h"
#include "SqlTypeMapper.h"

#include <algorithm>

namespace veltro::testdriver {

namespace {

// An absent or "%" pattern matches everything, as catalog arguments do.
bool matches(const OptionalText& pattern, std::string_view value) {
    return !pattern || pattern->empty() || likeMatch(*pattern, value);
}

std::vector<std::string> tableTypes(const OptionalText& types) {
    std::vector<std::string> result;
    if (!types || trim(*types) == "%")
        return result;
    for (const auto& type : split(*types, ','))
        result.push_back(upper(unquoteName(type)));
    return result;
}

std::string number(long long value) {
    return std::to_string(value);
}

// Date and time codes changed between ODBC 2 and 3; the driver manager may pass either.
SQLSMALLINT odbc3Type(SQLSMALLINT type) {
    switch (type) {
    case SQL_DATE:
        return SQL_TYPE_DATE;
    case SQL_TIME:
        return SQL_TYPE_TIME;
    case SQL_TIMESTAMP:
        return SQL_TYPE_TIMESTAMP;
    default:
        return type;
    }
}

SQLSMALLINT odbc2Type(SQLSMALLINT type) {
    switch (type) {
    case SQL_TYPE_DATE:
        return SQL_DATE;
    case SQL_TYPE_TIME:
        return SQL_TIME;
    case SQL_TYPE_TIMESTAMP:
        return SQL_TIMESTAMP;
    default:
        return type;
    }
}

struct DefaultType {
    const char* name;
    SQLSMALLINT type;
    long size;
    const char* prefix;
    const char* params;
    bool searchableLike;
};

constexpr DefaultType defaultTypes[] = {
    {"BIT", SQL_BIT, 1, nullptr, nullptr, false},
    {"TINYINT", SQL_TINYINT, 3, nullptr, nullptr, false},
    {"BIGINT", SQL_BIGINT, 19, nullptr, nullptr, false},
    {"BLOB", SQL_LONGVARBINARY, 2147483647, "X'", nullptr, false},
    {"VARBINARY", SQL_VARBINARY, 255, "X'", "max length", false},
    {"TEXT", SQL_LONGVARCHAR, 2147483647, "'", nullptr, true},
    {"CHAR", SQL_CHAR, 255, "'", "length", true},
    {"NUMERIC", SQL_NUMERIC, 38, nullptr, "precision,scale", false},
    {"DECIMAL", SQL_DECIMAL, 38, nullptr, "precision,scale", false},
    {"INTEGER", SQL_INTEGER, 10, nullptr, nullptr, false},
    {"SMALLINT", SQL_SMALLINT, 5, nullptr, nullptr, false},
    {"REAL", SQL_REAL, 7, nullptr, nullptr, false},
    {"DOUBLE", SQL_DOUBLE, 15, nullptr, nullptr, false},
    {"VARCHAR", SQL_VARCHAR, 255, "'", "max length", true},
    {"DATE", SQL_TYPE_DATE, 10, "'", nullptr, false},
    {"TIME", SQL_TYPE_TIME, 8, "'", nullptr, false},
    {"TIMESTAMP", SQL_TYPE_TIMESTAMP, 23, "'", nullptr, false},
};

OptionalText text(const char* value) {
    return value ? OptionalText(value) : std::nullopt;
}

} // namespace

CatalogBuilder::CatalogBuilder(Connection& connection)
    : connection_(connection), odbc2_(connection.odbcVersion() == SQL_OV_ODBC2) {}

std::vector<CatalogBuilder::SchemaObject> CatalogBuilder::schemaObjects() {
    std::vector<SchemaObject> objects;
    sqlite3_stmt* statement = nullptr;
    const char* sql = "SELECT name, type FROM sqlite_master WHERE type IN ('table', 'view') "
                      "ORDER BY name";
    if (sqlite3_prepare_v2(connection_.database(), sql, -1, &statement, nullptr) != SQLITE_OK)
        return objects;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        const std::string name = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        const std::string type = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
        const bool system = name.rfind("sqlite_", 0) == 0;
        objects.push_back({name, system ? "SYSTEM TABLE" : type == "view" ? "VIEW" : "TABLE"});
    }
    sqlite3_finalize(statement);
    objects.push_back({"sqlite_master", "SYSTEM TABLE"});
    return objects;
}

OptionalText CatalogBuilder::schemaName() const {
    const std::string& schema = connection_.profile().schema;
    return schema.empty() ? std::nullopt : OptionalText(schema);
}

Outcome CatalogBuilder::tables(const OptionalText& catalog, const OptionalText& schema,
                               const OptionalText& table, const OptionalText& types) {
    ResultBuilder builder;
    builder.column(odbc2_ ? "TABLE_QUALIFIER" : "TABLE_CAT", SQL_VARCHAR)
        .column(odbc2_ ? "TABLE_OWNER" : "TABLE_SCHEM", SQL_VARCHAR)
        .column("TABLE_NAME", SQL_VARCHAR)
        .column("TABLE_TYPE", SQL_VARCHAR)
        .column("REMARKS", SQL_VARCHAR, 254);
    const auto wanted = tableTypes(types);
    const auto typeWanted = [&](const std::string& type) {
        return wanted.empty() ||
               std::find(wanted.begin(), wanted.end(), upper(type)) != wanted.end();
    };
    const OptionalText ownSchema = schemaName();
    for (const auto& object : schemaObjects()) {
        if (matches(schema, ownSchema.value_or("")) && matches(table, object.name) &&
            typeWanted(object.type))
            builder.row({std::nullopt, ownSchema, object.name, object.type, std::nullopt});
    }
    for (const auto& declared : connection_.profile().tables) {
        if (matches(catalog, declared.catalog.value_or("")) &&
            matches(schema, declared.schema.value_or("")) && matches(table, declared.name) &&
            typeWanted(declared.type))
            builder.row({declared.catalog, declared.schema, declared.name, declared.type,
                         declared.remarks});
    }
    return Outcome::of(builder.take());
}

Outcome CatalogBuilder::columns(const OptionalText& schema, const OptionalText& table,
                                const OptionalText& column) {
    ResultBuilder builder;
    builder.column(odbc2_ ? "TABLE_QUALIFIER" : "TABLE_CAT", SQL_VARCHAR)
        .column(odbc2_ ? "TABLE_OWNER" : "TABLE_SCHEM", SQL_VARCHAR)
        .column("TABLE_NAME", SQL_VARCHAR)
        .column("COLUMN_NAME", SQL_VARCHAR)
        .column("DATA_TYPE", SQL_SMALLINT)
        .column("TYPE_NAME", SQL_VARCHAR)
        .column(odbc2_ ? "PRECISION" : "COLUMN_SIZE", SQL_INTEGER)
        .column(odbc2_ ? "LENGTH" : "BUFFER_LENGTH", SQL_INTEGER)
        .column(odbc2_ ? "SCALE" : "DECIMAL_DIGITS", SQL_SMALLINT)
        .column(odbc2_ ? "RADIX" : "NUM_PREC_RADIX", SQL_SMALLINT)
        .column("NULLABLE", SQL_SMALLINT)
        .column("REMARKS", SQL_VARCHAR, 254);
    if (!odbc2_) {
        builder.column("COLUMN_DEF", SQL_VARCHAR, 254)
            .column("SQL_DATA_TYPE", SQL_SMALLINT)
            .column("SQL_DATETIME_SUB", SQL_SMALLINT)
            .column("CHAR_OCTET_LENGTH", SQL_INTEGER)
            .column("ORDINAL_POSITION", SQL_INTEGER)
            .column("IS_NULLABLE", SQL_VARCHAR, 254);
    }
    const OptionalText ownSchema = schemaName();
    const auto addRow = [&](const OptionalText& owner, const std::string& tableName,
                            const ColumnInfo& info, int ordinal, const OptionalText& defaultValue) {
        const bool numeric = !isCharacterType(info.sqlType) && info.sqlType != SQL_BINARY &&
                             info.sqlType != SQL_VARBINARY && !isLongType(info.sqlType);
        std::vector<OptionalText> row = {std::nullopt,
                                         owner,
                                         tableName,
                                         info.name,
                                         number(info.sqlType),
                                         info.typeName,
                                         number(static_cast<long long>(info.size)),
                                         number(static_cast<long long>(info.size)),
                                         numeric ? OptionalText(number(info.digits)) : std::nullopt,
                                         numeric ? OptionalText("10") : std::nullopt,
                                         number(info.nullable),
                                         std::nullopt};
        if (!odbc2_) {
            row.insert(row.end(), {defaultValue, number(info.sqlType), std::nullopt,
                                   isCharacterType(info.sqlType)
                                       ? OptionalText(number(static_cast<long long>(info.size)))
                                       : std::nullopt,
                                   number(ordinal), info.nullable == SQL_NO_NULLS ? "NO" : "YES"});
        }
        builder.row(std::move(row));
    };
    for (const auto& object : schemaObjects()) {
        if (!matches(schema, ownSchema.value_or("")) || !matches(table, object.name))
            continue;
        sqlite3_stmt* statement = nullptr;
        const std::string sql = "PRAGMA table_info(\"" + object.name + "\")";
        if (sqlite3_prepare_v2(connection_.database(), sql.c_str(), -1, &statement, nullptr) !=
            SQLITE_OK)
            continue;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            const auto columnText = [&](int index) {
                const auto* value = sqlite3_column_text(statement, index);
                return value ? OptionalText(reinterpret_cast<const char*>(value)) : std::nullopt;
            };
            const std::string name = columnText(1).value_or("");
            if (!matches(column, name))
                continue;
            const OptionalText declared = columnText(2);
            ColumnInfo info = columnFromDeclaredType(name, declared ? declared->c_str() : nullptr);
            info.nullable = sqlite3_column_int(statement, 3) ? SQL_NO_NULLS : SQL_NULLABLE;
            addRow(ownSchema, object.name, info, sqlite3_column_int(statement, 0) + 1,
                   columnText(4));
        }
        sqlite3_finalize(statement);
    }
    int ordinal = 0;
    for (const auto& declared : connection_.profile().columns) {
        ++ordinal;
        if (!matches(table, declared.table) || !matches(column, declared.name))
            continue;
        ColumnInfo info;
        info.name = declared.name;
        applyTypeSpec(info, declared.type);
        info.typeName = declared.typeName;
        info.nullable = declared.nullable;
        addRow(std::nullopt, declared.table, info, ordinal, std::nullopt);
    }
    return Outcome::of(builder.take());
}

Outcome CatalogBuilder::procedures(const OptionalText& schema, const OptionalText& procedure) {
    ResultBuilder builder;
    builder.column(odbc2_ ? "PROCEDURE_QUALIFIER" : "PROCEDURE_CAT", SQL_VARCHAR)
        .column(odbc2_ ? "PROCEDURE_OWNER" : "PROCEDURE_SCHEM", SQL_VARCHAR)
        .column("PROCEDURE_NAME", SQL_VARCHAR)
        .column("NUM_INPUT_PARAMS", SQL_INTEGER)
        .column("NUM_OUTPUT_PARAMS", SQL_INTEGER)
        .column("NUM_RESULT_SETS", SQL_INTEGER)
        .column("REMARKS", SQL_VARCHAR, 254)
        .column("PROCEDURE_TYPE", SQL_SMALLINT);
    for (const auto& declared : connection_.profile().procedures) {
        if (matches(schema, declared.schema.value_or("")) && matches(procedure, declared.name))
            builder.row({declared.catalog, declared.schema, declared.name, std::nullopt,
                         std::nullopt, std::nullopt, declared.remarks, number(declared.type)});
    }
    return Outcome::of(builder.take());
}

Outcome CatalogBuilder::typeInfo(SQLSMALLINT dataType) {
    ResultBuilder builder;
    builder.column("TYPE_NAME", SQL_VARCHAR)
        .column("DATA_TYPE", SQL_SMALLINT)
        .column(odbc2_ ? "PRECISION" : "COLUMN_SIZE", SQL_INTEGER)
        .column("LITERAL_PREFIX", SQL_VARCHAR)
        .column("LITERAL_SUFFIX", SQL_VARCHAR)
        .column("CREATE_PARAMS", SQL_VARCHAR)
        .column("NULLABLE", SQL_SMALLINT)
        .column("CASE_SENSITIVE", SQL_SMALLINT)
        .column("SEARCHABLE", SQL_SMALLINT)
        .column("UNSIGNED_ATTRIBUTE", SQL_SMALLINT)
        .column(odbc2_ ? "MONEY" : "FIXED_PREC_SCALE", SQL_SMALLINT)
        .column(odbc2_ ? "AUTO_INCREMENT" : "AUTO_UNIQUE_VALUE", SQL_SMALLINT)
        .column("LOCAL_TYPE_NAME", SQL_VARCHAR)
        .column("MINIMUM_SCALE", SQL_SMALLINT)
        .column("MAXIMUM_SCALE", SQL_SMALLINT)
        .column("SQL_DATA_TYPE", SQL_SMALLINT)
        .column("SQL_DATETIME_SUB", SQL_SMALLINT)
        .column("NUM_PREC_RADIX", SQL_INTEGER)
        .column("INTERVAL_PRECISION", SQL_SMALLINT);
    const auto wanted = [&](SQLSMALLINT type) {
        return dataType == SQL_ALL_TYPES || odbc3Type(type) == odbc3Type(dataType);
    };
    const auto& declared = connection_.profile().typeInfo;
    if (!declared.empty()) {
        for (const auto& row : declared) {
            if (wanted(static_cast<SQLSMALLINT>(std::stoi(row[1].value_or("0")))))
                builder.row(row);
        }
        return Outcome::of(builder.take());
    }
    for (const auto& type : defaultTypes) {
        if (!wanted(type.type))
            continue;
        const bool character = isCharacterType(type.type);
        const bool numeric = !character && type.prefix == nullptr;
        const SQLSMALLINT reported = odbc2_ ? odbc2Type(type.type) : type.type;
        builder.row({type.name, number(reported), number(type.size), text(type.prefix),
                     text(type.prefix ? "'" : nullptr), text(type.params), number(SQL_NULLABLE),
                     number(character ? SQL_TRUE : SQL_FALSE),
                     number(type.searchableLike ? SQL_SEARCHABLE : SQL_PRED_BASIC),
                     numeric ? OptionalText(number(SQL_FALSE)) : std::nullopt, number(SQL_FALSE),
                     numeric ? OptionalText(number(SQL_FALSE)) : std::nullopt, type.name,
                     std::nullopt, std::nullopt, number(type.type), std::nullopt,
                     numeric ? OptionalText("10") : std::nullopt, std::nullopt});
    }
    return Outcome::of(builder.take());
}

} // namespace veltro::testdriver
