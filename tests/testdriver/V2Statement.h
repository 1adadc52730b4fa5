#pragma once

#include "V2Connection.h"

#include <optional>
#include <string>
#include <vector>

namespace veltro::testdriver::test {

using Row = std::vector<std::optional<std::string>>;

// An ODBC 2 statement handle (SQLAllocStmt ... SQLFreeStmt(SQL_DROP)).
class V2Statement {
public:
    explicit V2Statement(const V2Connection& connection);
    ~V2Statement();
    V2Statement(const V2Statement&) = delete;
    V2Statement& operator=(const V2Statement&) = delete;

    HSTMT handle() const { return statement_; }
    SQLRETURN execute(const std::string& sql);
    SQLSMALLINT columnCount();
    std::string columnName(SQLUSMALLINT column);
    SQLLEN rowCount();
    // Fetches the remaining rows, every column read with SQLGetData as SQL_C_CHAR.
    std::vector<Row> rows();
    // The records SQLError gives for the statement.
    std::vector<DiagnosticRecord> errors();

private:
    const V2Connection& connection_;
    HSTMT statement_ = SQL_NULL_HSTMT;
};

} // namespace veltro::testdriver::test
