#pragma once

#include "odbc/CancelScope.h"
#include "odbc/ColumnInfo.h"
#include "odbc/DatabaseError.h"
#include "odbc/StatementHandle.h"

#include <sql.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltro {

class OdbcConnection;

// Runs any SQL text forward-only on a connection and walks every result set it produces,
// one row at a time, reading each value as text (SQL_C_CHAR, binary columns as "0x" and
// hexadecimal digits). Nothing is known of the columns in advance: each result set is
// described when it arrives.
//
// One thread at a time uses a recordset; another thread may cancel it through its cancel
// scope, which every call on the statement handle goes through.
class CRecordsetEx {
public:
    explicit CRecordsetEx(std::shared_ptr<OdbcConnection> connection);
    virtual ~CRecordsetEx();
    CRecordsetEx(const CRecordsetEx&) = delete;
    CRecordsetEx& operator=(const CRecordsetEx&) = delete;

    // Opens forward-only, read-only, by direct execution. False when no statement handle
    // could be allocated (allocationFailure() tells why); execution errors throw
    // DatabaseError and leave the set closed.
    bool Execute(const std::string& sql);
    bool Open(const std::string& sql);
    // Runs another statement on the open statement handle, as if the one before had one more
    // result set: described by DescribeColumns, the cursor before its first row. For drivers
    // that take one statement at a time. Errors throw DatabaseError and leave the set open.
    void ExecuteFurther(const std::string& sql);

    void DescribeColumns();
    void MoveNext();
    bool FlushResultSet();
    bool IsBOF() const { return bof; }
    bool IsEOF() const { return eof; }

    // Reads the column with the zero-based index in the current row. Each column at most
    // once per row and in ascending order. NULL reads as empty text (isNull tells them
    // apart), binary as "0x" + two uppercase hexadecimal digits per byte.
    void GetFieldValue(int index, std::string& value, bool* isNull = nullptr);
    // The same read without a copy: the text stays valid until the next read.
    std::string_view GetFieldValue(int index, bool* isNull = nullptr);
    ColumnInfo GetColumnInfo(int index) const;

    bool IsOpen() const { return static_cast<bool>(stmt); }
    void Close();

    CancelScope& cancelScope() { return scope; }
    bool CancelRequested() const { return scope.requested(); }

    std::int16_t resultColumnCount() const { return columnCount; }
    const std::string& sql() const { return sqlText; }
    SQLHSTMT statementHandle() const { return stmt.get(); }
    // The rows the last statement changed, -1 when the driver cannot tell.
    SQLLEN RowCount();
    OdbcConnection& connection() const { return *db; }
    // Why the last Execute found no statement handle.
    const std::optional<DatabaseError>& allocationFailure() const { return allocationError; }
    // The driver's informational messages (SQL_SUCCESS_WITH_INFO) of the last execution or
    // SQLMoreResults, origin tags removed.
    const std::vector<std::string>& infoMessages() const { return infos; }

    // Size of the first read buffer for a column, terminator included.
    static std::size_t GetTextLength(std::int16_t sqlType, std::uint32_t precision);

protected:
    // The parts of the open sequence that the catalog recordsets share.
    bool allocateStatement();
    // Describes the result set, binds the fields (bindFields) and fetches the first row.
    void finishOpen();
    // Called between the description of a result set and its first fetch.
    virtual void bindFields() {}
    // On the statement just allocated: runs a catalog call (SQLTables, SQLGetTypeInfo, ...)
    // instead of executing a text, then describes and positions its result. An exception
    // leaves the set closed.
    void openWithCall(const std::function<SQLRETURN(SQLHSTMT)>& call);
    [[noreturn]] void throwStatementError(SQLRETURN rc) const;
    template <typename Call> SQLRETURN cancellableCall(Call&& call) {
        return scope.call(std::forward<Call>(call));
    }

private:
    // SQLExecDirect of the SQL text on the statement handle, and its informational messages.
    void executeDirect();
    // What one SQLGetData answer added to the value in buffer: its length so far, whether
    // more is to come and, when known, the whole length.
    struct Piece {
        std::size_t have;
        bool more;
        SQLLEN total;
    };
    // Of a read of room bytes (terminator not counted) after the first have bytes. A length
    // that no answer can have throws.
    Piece takePiece(int index, SQLRETURN rc, SQLLEN indicator, std::size_t have, std::size_t room,
                    std::size_t terminator) const;
    [[noreturn]] void throwImpossibleLength(int index, SQLRETURN rc, SQLLEN indicator) const;
    // Reads on after the first have bytes of a value into buffer; returns its length.
    std::size_t readRemainder(int index, std::size_t have, SQLLEN total);
    void collectInfoMessages(SQLRETURN rc);

    std::shared_ptr<OdbcConnection> db;
    StatementHandle stmt;
    std::string sqlText;
    std::int16_t columnCount = -1;
    std::vector<ColumnInfo> columns;
    // How each column's values are read, worked out once when the columns are described.
    struct FieldRead {
        SQLSMALLINT cType;
        // Of the first read, terminator included.
        std::size_t length;
        std::size_t terminator;
        // SQL_BIT, which some drivers hand as a raw byte.
        bool bit;
    };
    std::vector<FieldRead> fieldReads;
    bool bof = true;
    bool eof = true;
    // Values are read into buffer, which only grows; binary ones are then written into
    // binaryText as digits.
    std::string buffer;
    std::string binaryText;
    std::optional<DatabaseError> allocationError;
    std::vector<std::string> infos;
    CancelScope scope;
};

// Closes the recordset if it is open; a failure to close changes nothing for the batch.
void closeQuietly(CRecordsetEx& recordset);

} // namespace veltro
