#include "odbc/StatementHandle.h"

#include "odbc/DatabaseError.h"
#include "odbc/OdbcCall.h"

#include <sqlext.h>

namespace veltro {

StatementHandle& StatementHandle::operator=(StatementHandle&& other) noexcept {
    if (this != &other) {
        reset();
        stmt = other.release();
    }
    return *this;
}

StatementHandle StatementHandle::allocate(SQLHENV env, SQLHDBC dbc) {
    SQLHSTMT handle = SQL_NULL_HSTMT;
    const SQLRETURN rc = SQLAllocStmt(dbc, &handle);
    if (!SQL_SUCCEEDED(rc)) {
        throw DatabaseError::fromHandles(rc, env, dbc, SQL_NULL_HSTMT);
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
        // A handle the driver refuses to drop is freed with its connection at disconnect.
        ignoreFailure(SQLFreeStmt(stmt, SQL_DROP));
        stmt = SQL_NULL_HSTMT;
    }
}

} // namespace veltro
