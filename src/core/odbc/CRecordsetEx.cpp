#include "odbc/CRecordsetEx.h"

#include "common/Utf8.h"
#include "odbc/DiagnosticText.h"
#include "odbc/OdbcCall.h"
#include "odbc/OdbcConnection.h"

#include <sqlext.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace veltro {

namespace {

// Names are kept to 255 characters; the buffer holds that many of up to four bytes each and
// the terminator, so that the cut to 255 characters never falls inside a character.
constexpr std::size_t maxColumnNameCharacters = 255;
constexpr SQLSMALLINT columnNameBufferSize = maxColumnNameCharacters * 4 + 1;

// The first read never asks for more than this; a longer value is read on in pieces,
// so a driver that declares a huge column size does not cost a huge buffer per cell.
constexpr std::size_t maxFirstReadLength = 64 * 1024;

// Growth step when the driver cannot say how long a value is.
constexpr std::size_t unknownLengthStep = 4096;

// Truncation of a value is handled by reading on; it is no message for the user.
constexpr const char* truncationState = "01004";

bool isLongType(std::int16_t sqlType) {
    return sqlType == SQL_LONGVARCHAR || sqlType == SQL_LONGVARBINARY ||
           sqlType == SQL_WLONGVARCHAR || sqlType == -97;
}

bool isBinaryType(std::int16_t sqlType) {
    return sqlType == SQL_BINARY || sqlType == SQL_VARBINARY || sqlType == SQL_LONGVARBINARY;
}

bool isApproximateType(std::int16_t sqlType) {
    return sqlType == SQL_REAL || sqlType == SQL_FLOAT || sqlType == SQL_DOUBLE;
}

// Room for any approximate number as text ("-2.2250738585072014e-308" and the like), since
// a driver may round the value to fit a shorter buffer before it says 01004.
constexpr std::size_t approximateTextLength = 32;

const char* returnCodeName(SQLRETURN rc) {
    return rc == SQL_SUCCESS ? "SQL_SUCCESS" : "SQL_SUCCESS_WITH_INFO";
}

void appendHex(std::string& out, std::string_view bytes) {
    static constexpr char digits[] = "0123456789ABCDEF";
    out.reserve(out.size() + 2 * bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out += digits[byte >> 4];
        out += digits[byte & 0x0F];
    }
}

} // namespace

CRecordsetEx::CRecordsetEx(std::shared_ptr<OdbcConnection> connection)
    : db(std::move(connection)) {}

CRecordsetEx::~CRecordsetEx() {
    Close();
}

std::size_t CRecordsetEx::GetTextLength(std::int16_t sqlType, std::uint32_t precision) {
    if (isLongType(sqlType)) {
        return 1;
    }
    if (sqlType == SQL_NUMERIC || sqlType == SQL_DECIMAL) {
        return std::size_t{precision} + 3;
    }
    if (isApproximateType(sqlType)) {
        return std::max(std::size_t{precision} + 1, approximateTextLength);
    }
    return std::size_t{precision} + 1;
}

bool CRecordsetEx::Execute(const std::string& sql) {
    return Open(sql);
}

bool CRecordsetEx::Open(const std::string& sql) {
    Close();
    sqlText = sql;
    if (!allocateStatement()) {
        return false;
    }
    try {
        db->applyQueryTimeout(stmt.get());
        executeDirect();
        finishOpen();
    } catch (...) {
        Close();
        throw;
    }
    return true;
}

void CRecordsetEx::ExecuteFurther(const std::string& sql) {
    // The handle takes a new statement only once the cursor of the last one is closed.
    const SQLRETURN rc = SQLFreeStmt(stmt.get(), SQL_CLOSE);
    if (!SQL_SUCCEEDED(rc)) {
        throwStatementError(rc);
    }
    columns.clear();
    columnCount = -1;
    sqlText = sql;
    executeDirect();
    bof = false;
    eof = false;
}

void CRecordsetEx::executeDirect() {
    SQLHSTMT h = stmt.get();
    SQLCHAR* text = reinterpret_cast<SQLCHAR*>(sqlText.data());
    const SQLRETURN rc = cancellableCall([&] { return SQLExecDirect(h, text, SQL_NTS); });
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO && rc != SQL_NEED_DATA &&
        rc != SQL_NO_DATA) {
        throwStatementError(rc);
    }
    collectInfoMessages(rc);
}

bool CRecordsetEx::allocateStatement() {
    allocationError.reset();
    try {
        stmt = StatementHandle::allocate(db->environmentHandle(), db->handle());
        scope.setHandle(stmt.get());
        return true;
    } catch (const DatabaseError& e) {
        allocationError = e;
        return false;
    }
}

void CRecordsetEx::openWithCall(const std::function<SQLRETURN(SQLHSTMT)>& call) {
    try {
        db->applyQueryTimeout(stmt.get());
        SQLHSTMT h = stmt.get();
        const SQLRETURN rc = cancellableCall([&] { return call(h); });
        if (!SQL_SUCCEEDED(rc)) {
            throwStatementError(rc);
        }
        finishOpen();
    } catch (...) {
        Close();
        throw;
    }
}

void CRecordsetEx::finishOpen() {
    DescribeColumns();
    bindFields();
    eof = true;
    if (columnCount != 0) {
        eof = false;
        MoveNext();
    }
    bof = eof;
}

void CRecordsetEx::throwStatementError(SQLRETURN rc) const {
    throw DatabaseError::fromHandles(rc, db->environmentHandle(), db->handle(), stmt.get());
}

void CRecordsetEx::collectInfoMessages(SQLRETURN rc) {
    infos.clear();
    if (rc != SQL_SUCCESS_WITH_INFO) {
        return;
    }
    for (const DiagnosticRecord& record : readDiagnostics(
             db->environmentHandle(), db->handle(), stmt.get(), DiagnosticKind::information)) {
        if (record.sqlState != truncationState) {
            infos.push_back(splitOriginTags(record.message).message);
        }
    }
}

void CRecordsetEx::DescribeColumns() {
    columnCount = -1;
    columns.clear();
    fieldReads.clear();
    SQLHSTMT h = stmt.get();
    SQLSMALLINT count = 0;
    SQLRETURN rc = cancellableCall([&] { return SQLNumResultCols(h, &count); });
    if (!SQL_SUCCEEDED(rc)) {
        throwStatementError(rc);
    }
    std::vector<ColumnInfo> described(static_cast<std::size_t>(std::max<SQLSMALLINT>(count, 0)));
    for (SQLUSMALLINT number = 1; number <= described.size(); ++number) {
        SQLCHAR name[columnNameBufferSize] = {};
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT sqlType = 0;
        SQLULEN precision = 0;
        SQLSMALLINT scale = 0;
        SQLSMALLINT nullability = 0;
        rc = cancellableCall([&] {
            return SQLDescribeCol(h, number, name, columnNameBufferSize, &nameLength, &sqlType,
                                  &precision, &scale, &nullability);
        });
        if (!SQL_SUCCEEDED(rc)) {
            throwStatementError(rc);
        }
        ColumnInfo& info = described[number - 1];
        const auto kept = std::clamp<SQLSMALLINT>(nameLength, 0, columnNameBufferSize - 1);
        info.name = utf8Prefix(
            std::string_view(reinterpret_cast<const char*>(name), static_cast<std::size_t>(kept)),
            maxColumnNameCharacters);
        info.sqlType = sqlType;
        info.precision = static_cast<std::uint32_t>(precision);
        info.scale = scale;
        info.nullability = nullability;
    }
    std::vector<FieldRead> reads;
    reads.reserve(described.size());
    for (const ColumnInfo& info : described) {
        // Binary values come as bytes, so that every driver gives the same text for them.
        const bool binary = isBinaryType(info.sqlType);
        reads.push_back({binary ? SQLSMALLINT{SQL_C_BINARY} : SQLSMALLINT{SQL_C_CHAR},
                         std::min(GetTextLength(info.sqlType, info.precision), maxFirstReadLength),
                         binary ? std::size_t{0} : std::size_t{1}, info.sqlType == SQL_BIT});
    }
    columns = std::move(described);
    fieldReads = std::move(reads);
    columnCount = count;
}

void CRecordsetEx::MoveNext() {
    SQLHSTMT h = stmt.get();
    const SQLRETURN rc = cancellableCall([&] { return SQLFetch(h); });
    if (rc == SQL_NO_DATA) {
        eof = true;
        return;
    }
    if (!SQL_SUCCEEDED(rc)) {
        throwStatementError(rc);
    }
}

bool CRecordsetEx::FlushResultSet() {
    if (!stmt) {
        return false;
    }
    SQLHSTMT h = stmt.get();
    const SQLRETURN rc = cancellableCall([&] { return SQLMoreResults(h); });
    if (rc != SQL_NO_DATA && !SQL_SUCCEEDED(rc)) {
        throwStatementError(rc);
    }
    collectInfoMessages(rc);
    bof = false;
    eof = false;
    return rc != SQL_NO_DATA;
}

void CRecordsetEx::GetFieldValue(int index, std::string& value, bool* isNull) {
    if (columnCount <= 0) {
        return;
    }
    value.assign(GetFieldValue(index, isNull));
}

std::string_view CRecordsetEx::GetFieldValue(int index, bool* isNull) {
    if (columnCount <= 0) {
        return {};
    }
    const int number = index + 1;
    if (number < 1 || number > columnCount) {
        char text[80];
        std::snprintf(text, sizeof text, "Column %d is not in the result set.\n", number);
        throw DatabaseError(fieldNotFoundCode, text, "");
    }
    const FieldRead& read = fieldReads[static_cast<std::size_t>(index)];
    const SQLSMALLINT cType = read.cType;
    const std::size_t length = read.length;
    const std::size_t terminator = read.terminator;
    if (buffer.size() < length) {
        buffer.resize(length);
    }
    SQLHSTMT h = stmt.get();
    const auto column = static_cast<SQLUSMALLINT>(number);
    SQLLEN indicator = 0;
    const SQLRETURN rc = cancellableCall([&] {
        return SQLGetData(h, column, cType, buffer.data(), static_cast<SQLLEN>(length), &indicator);
    });
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) {
        throwStatementError(rc);
    }
    if (isNull != nullptr) {
        *isNull = indicator == SQL_NULL_DATA;
    }
    if (indicator == SQL_NULL_DATA) {
        return {};
    }
    const Piece first = takePiece(index, rc, indicator, 0, length - terminator, terminator);
    // The value did not fit: read the rest instead of cutting it, which would also split a
    // multi-byte character.
    const std::size_t have =
        first.more ? readRemainder(index, first.have, first.total) : first.have;
    if (read.bit && have == 1 && static_cast<unsigned char>(buffer[0]) <= 1) {
        // A driver that hands the bit as a raw byte: ODBC's text for a bit is "0" or "1".
        buffer[0] = static_cast<char>('0' + buffer[0]);
    }
    if (cType != SQL_C_BINARY) {
        return {buffer.data(), have};
    }
    binaryText.clear();
    if (have > 0) {
        binaryText = "0x";
        appendHex(binaryText, std::string_view(buffer.data(), have));
    }
    return binaryText;
}

CRecordsetEx::Piece CRecordsetEx::takePiece(int index, SQLRETURN rc, SQLLEN indicator,
                                            std::size_t have, std::size_t room,
                                            std::size_t terminator) const {
    if (indicator == SQL_NO_TOTAL) {
        if (rc == SQL_SUCCESS && terminator != 0) {
            // Complete, of a length the driver did not say: the terminator tells it.
            return {have + strnlen(buffer.data() + have, room), false, SQL_NO_TOTAL};
        }
        if (rc == SQL_SUCCESS_WITH_INFO) {
            return {have + room, true, SQL_NO_TOTAL};
        }
    } else if (indicator >= 0) {
        const auto length = static_cast<std::size_t>(indicator);
        if (length <= room) {
            return {have + length, false, 0};
        }
        // A read that fits no more than room bytes yet says it is complete is impossible.
        if (rc == SQL_SUCCESS_WITH_INFO) {
            return {have + room, true, static_cast<SQLLEN>(have + length)};
        }
    }
    throwImpossibleLength(index, rc, indicator);
}

void CRecordsetEx::throwImpossibleLength(int index, SQLRETURN rc, SQLLEN indicator) const {
    throw DatabaseError(SQL_ERROR,
                        "The driver answered SQLGetData for column " + std::to_string(index + 1) +
                            " (" + columns[static_cast<std::size_t>(index)].name + ") with " +
                            returnCodeName(rc) + " and the impossible length " +
                            std::to_string(indicator) + ".\n",
                        "");
}

std::size_t CRecordsetEx::readRemainder(int index, std::size_t have, SQLLEN total) {
    const FieldRead& read = fieldReads[static_cast<std::size_t>(index)];
    const auto column = static_cast<SQLUSMALLINT>(index + 1);
    SQLHSTMT h = stmt.get();
    for (;;) {
        const bool totalKnown = total != SQL_NO_TOTAL && total > static_cast<SQLLEN>(have);
        const std::size_t room =
            totalKnown ? static_cast<std::size_t>(total) - have : std::max(have, unknownLengthStep);
        if (buffer.size() < have + room + read.terminator) {
            buffer.resize(have + room + read.terminator);
        }
        SQLLEN indicator = 0;
        const SQLRETURN rc = cancellableCall([&] {
            return SQLGetData(h, column, read.cType, buffer.data() + have,
                              static_cast<SQLLEN>(room + read.terminator), &indicator);
        });
        if (rc == SQL_NO_DATA) {
            return have;
        }
        if (!SQL_SUCCEEDED(rc)) {
            throwStatementError(rc);
        }
        if (indicator == SQL_NULL_DATA) {
            return have;
        }
        const Piece piece = takePiece(index, rc, indicator, have, room, read.terminator);
        if (!piece.more) {
            return piece.have;
        }
        have = piece.have;
        total = piece.total;
    }
}

SQLLEN CRecordsetEx::RowCount() {
    SQLHSTMT h = stmt.get();
    SQLLEN count = -1;
    // A driver that cannot tell leaves the count unknown.
    if (!SQL_SUCCEEDED(cancellableCall([&] { return SQLRowCount(h, &count); }))) {
        count = -1;
    }
    return count;
}

ColumnInfo CRecordsetEx::GetColumnInfo(int index) const {
    if (index < 0 || index >= static_cast<int>(columns.size())) {
        throw DatabaseError(fieldNotFoundCode, "", "");
    }
    return columns[static_cast<std::size_t>(index)];
}

void CRecordsetEx::Close() {
    scope.setHandle(SQL_NULL_HSTMT);
    stmt.reset();
    columns.clear();
    fieldReads.clear();
    columnCount = -1;
    bof = true;
    eof = true;
    infos.clear();
}

void closeQuietly(CRecordsetEx& recordset) {
    if (recordset.IsOpen()) {
        recordset.Close();
    }
}

} // namespace veltro
