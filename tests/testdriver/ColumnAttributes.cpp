#include "ColumnAttributes.h"

#include "OutputBuffer.h"
#include "SqlTypeMapper.h"

namespace veltro::testdriver {

namespace {

SQLLEN displaySize(const ColumnInfo& column) {
    switch (column.sqlType) {
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
        return column.size > 1073741823 ? 2147483647 : static_cast<SQLLEN>(column.size * 2);
    case SQL_DECIMAL:
    case SQL_NUMERIC:
        return static_cast<SQLLEN>(column.size + 2);
    case SQL_INTEGER:
    case SQL_SMALLINT:
    case SQL_TINYINT:
    case SQL_BIGINT:
        return static_cast<SQLLEN>(column.size + 1);
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
        return 24;
    default:
        return static_cast<SQLLEN>(column.size);
    }
}

} // namespace

SQLRETURN columnAttribute(const ColumnInfo& column, size_t columnCount, SQLUSMALLINT field,
                          SQLPOINTER text, SQLSMALLINT bufferLength, SQLSMALLINT* length,
                          SQLLEN* number, Diagnostics& diagnostics) {
    const auto answerNumber = [&](SQLLEN value) -> SQLRETURN {
        if (number != nullptr)
            *number = value;
        return SQL_SUCCESS;
    };
    const auto answerText = [&](const std::string& value) -> SQLRETURN {
        if (copyOut(value, text, bufferLength, length)) {
            diagnostics.add("01004", "String data, right truncated");
            return diagnostics.finish(SQL_SUCCESS_WITH_INFO);
        }
        return SQL_SUCCESS;
    };
    const bool character = isCharacterType(column.sqlType);
    switch (field) {
    case SQL_COLUMN_COUNT:
    case SQL_DESC_COUNT:
        return answerNumber(static_cast<SQLLEN>(columnCount));
    case SQL_COLUMN_NAME:
    case SQL_DESC_NAME:
    case SQL_DESC_LABEL:
    case SQL_DESC_BASE_COLUMN_NAME:
        return answerText(column.name);
    case SQL_DESC_TYPE:
    case SQL_DESC_CONCISE_TYPE:
        return answerNumber(column.sqlType);
    case SQL_COLUMN_LENGTH:
    case SQL_DESC_LENGTH:
    case SQL_DESC_OCTET_LENGTH:
    case SQL_COLUMN_PRECISION:
    case SQL_DESC_PRECISION:
        return answerNumber(static_cast<SQLLEN>(column.size));
    case SQL_COLUMN_SCALE:
    case SQL_DESC_SCALE:
        return answerNumber(column.digits);
    case SQL_DESC_DISPLAY_SIZE:
        return answerNumber(displaySize(column));
    case SQL_COLUMN_NULLABLE:
    case SQL_DESC_NULLABLE:
        return answerNumber(column.nullable);
    case SQL_DESC_UNSIGNED:
        return answerNumber(character || isLongType(column.sqlType) ? SQL_TRUE : SQL_FALSE);
    case SQL_DESC_FIXED_PREC_SCALE:
    case SQL_DESC_AUTO_UNIQUE_VALUE:
        return answerNumber(SQL_FALSE);
    case SQL_DESC_UPDATABLE:
        return answerNumber(SQL_ATTR_READWRITE_UNKNOWN);
    case SQL_DESC_CASE_SENSITIVE:
        return answerNumber(character ? SQL_TRUE : SQL_FALSE);
    case SQL_DESC_SEARCHABLE:
        return answerNumber(isLongType(column.sqlType) ? SQL_PRED_CHAR : SQL_PRED_SEARCHABLE);
    case SQL_DESC_NUM_PREC_RADIX:
        return answerNumber(character || isLongType(column.sqlType) ? 0 : 10);
    case SQL_DESC_TYPE_NAME:
    case SQL_DESC_LOCAL_TYPE_NAME:
        return answerText(column.typeName);
    case SQL_DESC_TABLE_NAME:
    case SQL_DESC_BASE_TABLE_NAME:
        return answerText(column.table);
    case SQL_DESC_SCHEMA_NAME:
    case SQL_DESC_CATALOG_NAME:
    case SQL_DESC_LITERAL_PREFIX:
    case SQL_DESC_LITERAL_SUFFIX:
        return answerText("");
    default:
        return diagnostics.error("HY091", "Invalid descriptor field identifier");
    }
}

} // namespace veltro::testdriver
