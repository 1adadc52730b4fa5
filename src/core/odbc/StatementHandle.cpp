#include "odbc/StatementHandle.h"

#include <sqlext.h>

namespace veltro {

StatementHandle& StatementHandle::operator=(StatementHandle&& other) noexcept {
    if (this != &other) {
        reset();
        stmt = other.release();
    }
    return *this;
}

StatementHandle StatementHandle::allocate(SQLHDBC dbc) {
    SQLHSTMT handle = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocStmt(dbc, &handle))) {
        return StatementHandle();
    }
    return StatementHandle(handle);
}

SQLHSTMT StatementHandle::release() {
    SQLHSTMT handle = stmt;
    stmt = SQL_NULL_HSTMT;
    return handle;
}

void StatementHandle::reset() {
    if (stmt != SQL_NULL_HSTMT) {
        SQLFreeStmt(stmt, SQL_DROP);
        stmt = SQL_NULL_HSTMT;
    }
}

} // namespace veltro
