#include "session/DatabaseSql.h"

#include "odbc/CRecordsetEx.h"
#include "odbc/DatabaseError.h"
#include "odbc/OdbcCall.h"
#include "odbc/OdbcConnection.h"
#include "odbc/StatementHandle.h"
#include "odbc/StillExecuting.h"

#include <sqlext.h>

namespace veltro {

CurrentDatabaseAnswer queryCurrentDatabase(CRecordsetEx& recordset) {
    closeQuietly(recordset);
    CurrentDatabaseAnswer answer;
    try {
        answer.ran = recordset.Execute(currentDatabaseSql);
        if (answer.ran && !recordset.IsBOF()) {
            std::string name;
            recordset.GetFieldValue(0, name);
            answer.name = name;
        }
    } catch (const DatabaseError&) {
        return {};
    }
    closeQuietly(recordset);
    return answer;
}

void runUseDatabase(OdbcConnection& connection, const std::string& name) {
    SQLHENV env = connection.environmentHandle();
    SQLHDBC dbc = connection.handle();
    const StatementHandle statement = StatementHandle::allocate(env, dbc);
    SQLHSTMT stmt = statement.get();
    const auto check = [&](SQLRETURN rc) {
        if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
            throw DatabaseError::fromHandles(rc, env, dbc, stmt);
        }
        return rc;
    };
    connection.applyQueryTimeout(stmt);
    std::string sql = "use " + name;
    auto* text = reinterpret_cast<SQLCHAR*>(sql.data());
    // Failures throw with the statement's diagnostics.
    check(callUntilDone([&] { return SQLExecDirect(stmt, text, SQL_NTS); }));
    SQLRETURN more = SQL_SUCCESS;
    while (SQL_SUCCEEDED(more)) {
        SQLSMALLINT columns = 0;
        check(callUntilDone([&] { return SQLNumResultCols(stmt, &columns); }));
        if (columns > 0) {
            // Rows, if any, are read and dropped; a failing fetch throws.
            while (SQL_SUCCEEDED(check(callUntilDone([&] { return SQLFetch(stmt); })))) {
            }
        }
        more = check(callUntilDone([&] { return SQLMoreResults(stmt); }));
    }
    // Everything was read: there is nothing left for a cancel to stop, and the handle is
    // dropped next whatever the driver answers.
    ignoreFailure(SQLCancel(stmt));
}

} // namespace veltro
