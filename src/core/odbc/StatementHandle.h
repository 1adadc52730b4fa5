#pragma once

#include <sql.h>

namespace veltro {

// Owns one ODBC statement handle and drops it (SQLFreeStmt SQL_DROP) when let go.
class StatementHandle {
public:
    StatementHandle() = default;
    explicit StatementHandle(SQLHSTMT handle) : stmt(handle) {}
    ~StatementHandle() { reset(); }

    StatementHandle(StatementHandle&& other) noexcept : stmt(other.release()) {}
    StatementHandle& operator=(StatementHandle&& other) noexcept;
    StatementHandle(const StatementHandle&) = delete;
    StatementHandle& operator=(const StatementHandle&) = delete;

    // Allocates a statement on the connection. A refusal throws DatabaseError with the
    // connection's diagnostics.
    static StatementHandle allocate(SQLHENV env, SQLHDBC dbc);

    SQLHSTMT get() const { return stmt; }
    explicit operator bool() const { return stmt != SQL_NULL_HSTMT; }

    SQLHSTMT release();
    void reset();

private:
    SQLHSTMT stmt = SQL_NULL_HSTMT;
};

} // namespace veltro
