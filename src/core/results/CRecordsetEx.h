#pragma once

#include "odbc/StatementHandle.h"
#include "results/ColumnInfo.h"

#include <sql.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace veltro {

class OdbcConnection;

// Runs any SQL text forward-only on a connection and walks every result set it produces,
// one row at a time, reading each value as text (SQL_C_CHAR). Nothing is known of the
// columns in advance: each result set is described when it arrives.
class CRecordsetEx {
public:
    explicit CRecordsetEx(std::shared_ptr<OdbcConnection> connection);
    virtual ~CRecordsetEx();
    CRecordsetEx(const CRecordsetEx&) = delete;
    CRecordsetEx& operator=(const CRecordsetEx&) = delete;

    // Opens forward-only, read-only, by direct execution. False when no statement handle
    // could be allocated; execution errors throw DatabaseError and leave the set closed.
    bool Execute(const std::string& sql);
    bool Open(const std::string& sql);

    void DescribeColumns();
    void MoveNext();
    bool FlushResultSet();
    bool IsBOF() const { return bof; }
    bool IsEOF() const { return eof; }

    // Reads the column with the zero-based index in the current row. Each column at most
    // once per row and in ascending order. NULL reads as empty text, binary as "0x" + hex.
    void GetFieldValue(int index, std::string& value);
    ColumnInfo GetColumnInfo(int index) const;

    bool IsOpen() const { return static_cast<bool>(stmt); }
    void Close();

    // Cancels the running statement from another thread; safe while the owner closes it.
    void Cancel();

    std::int16_t resultColumnCount() const { return columnCount; }
    const std::string& sql() const { return sqlText; }
    SQLHSTMT statementHandle() const { return stmt.get(); }
    OdbcConnection& connection() const { return *db; }

    // Size of the first read buffer for a column, terminator included.
    static std::size_t GetTextLength(std::int16_t sqlType, std::uint32_t precision);

protected:
    // The parts of the open sequence that the catalog recordsets share.
    bool allocateStatement();
    void finishOpen();
    [[noreturn]] void throwStatementError(SQLRETURN rc) const;

private:
    void readRemainder(SQLUSMALLINT column, std::size_t have, SQLLEN totalHint);

    std::shared_ptr<OdbcConnection> db;
    StatementHandle stmt;
    std::mutex cancelMutex;
    std::string sqlText;
    std::int16_t columnCount = -1;
    std::vector<ColumnInfo> columns;
    bool bof = true;
    bool eof = true;
    std::string buffer;
};

} // namespace veltro
