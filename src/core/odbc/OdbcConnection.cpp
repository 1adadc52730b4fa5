#include "odbc/OdbcConnection.h"

#include "odbc/DataSourcePrompt.h"
#include "odbc/DatabaseError.h"
#include "odbc/OdbcCall.h"
#include "odbc/OdbcEnvironment.h"

#include <sqlext.h>

#include <vector>

namespace veltro {

namespace {

// Room for the completed connect string. Larger than the classic 512 bytes so that a
// long string (many attributes, a long password) is not cut and can open the same data
// source again.
constexpr SQLSMALLINT completedStringBufferSize = 4096;

} // namespace

OdbcConnection::~OdbcConnection() {
    close();
}

SQLHENV OdbcConnection::environmentHandle() const {
    return environment ? environment->handle() : SQL_NULL_HENV;
}

bool OdbcConnection::open(const std::string& connectString, DataSourcePrompt* prompt) {
    close();
    std::string request = connectString;
    if (request.empty() && prompt != nullptr) {
        const std::optional<std::string> chosen = prompt->promptConnectString();
        if (!chosen || chosen->empty()) {
            return false;
        }
        request = *chosen;
    }

    environment = OdbcEnvironment::acquire();
    SQLRETURN rc = SQLAllocConnect(environment->handle(), &dbc);
    if (!SQL_SUCCEEDED(rc)) {
        const DatabaseError error =
            DatabaseError::fromHandles(rc, environment->handle(), SQL_NULL_HDBC, SQL_NULL_HSTMT);
        dbc = SQL_NULL_HDBC;
        environment.reset();
        throw error;
    }
    // A driver without a login timeout connects without one.
    ignoreFailure(
        SQLSetConnectOption(dbc, SQL_LOGIN_TIMEOUT, static_cast<SQLULEN>(loginTimeoutSeconds)));

    std::vector<SQLCHAR> output(completedStringBufferSize);
    SQLSMALLINT outputLength = 0;
    rc = SQLDriverConnect(
        dbc, nullptr, reinterpret_cast<SQLCHAR*>(const_cast<char*>(request.c_str())), SQL_NTS,
        output.data(), completedStringBufferSize, &outputLength, SQL_DRIVER_NOPROMPT);
    if (rc == SQL_NO_DATA) {
        freeHandle();
        return false;
    }
    if (!SQL_SUCCEEDED(rc)) {
        const DatabaseError error =
            DatabaseError::fromHandles(rc, environment->handle(), dbc, SQL_NULL_HSTMT);
        freeHandle();
        throw error;
    }
    completed = "ODBC;";
    completed += reinterpret_cast<const char*>(output.data());

    try {
        checkConformance();
    } catch (...) {
        close();
        throw;
    }
    return true;
}

void OdbcConnection::checkConformance() const {
    const auto apiLevel = static_cast<std::int16_t>(infoU16(SQL_ODBC_API_CONFORMANCE));
    const auto sqlLevel = static_cast<std::int16_t>(infoU16(SQL_ODBC_SQL_CONFORMANCE));
    if (apiLevel < SQL_OAC_LEVEL1 || sqlLevel < SQL_OSC_MINIMUM) {
        throw DatabaseError(SQL_ERROR, "", "");
    }
}

void OdbcConnection::close() {
    if (dbc != SQL_NULL_HDBC) {
        if (!SQL_SUCCEEDED(SQLDisconnect(dbc))) {
            // Refused inside an open transaction (25000): roll it back, then the disconnect
            // goes through. Should it still fail, there is nothing more to do than free the
            // handle, which the driver manager then refuses too (HY010).
            ignoreFailure(SQLTransact(SQL_NULL_HENV, dbc, SQL_ROLLBACK));
            ignoreFailure(SQLDisconnect(dbc));
        }
    }
    freeHandle();
    completed.clear();
    queryTimeoutRefused = false;
}

void OdbcConnection::freeHandle() {
    if (dbc != SQL_NULL_HDBC) {
        // Fails only for a connection that is still connected; the handle then stays with
        // the driver manager until the environment goes.
        ignoreFailure(SQLFreeConnect(dbc));
        dbc = SQL_NULL_HDBC;
    }
    environment.reset();
}

void OdbcConnection::throwError(SQLRETURN rc) const {
    throw DatabaseError::fromHandles(rc, environmentHandle(), dbc, SQL_NULL_HSTMT);
}

std::string OdbcConnection::infoText(SQLUSMALLINT infoType, size_t bufferSize) const {
    std::vector<char> buffer(bufferSize + 1, '\0');
    SQLSMALLINT length = 0;
    const SQLRETURN rc =
        SQLGetInfo(dbc, infoType, buffer.data(), static_cast<SQLSMALLINT>(bufferSize), &length);
    if (!SQL_SUCCEEDED(rc)) {
        throwError(rc);
    }
    return std::string(buffer.data());
}

void OdbcConnection::readInfo(SQLUSMALLINT infoType, SQLPOINTER value, SQLSMALLINT size) const {
    const SQLRETURN rc = SQLGetInfo(dbc, infoType, value, size, nullptr);
    if (!SQL_SUCCEEDED(rc)) {
        throwError(rc);
    }
}

std::uint16_t OdbcConnection::infoU16(SQLUSMALLINT infoType) const {
    SQLUSMALLINT value = 0;
    readInfo(infoType, &value, sizeof value);
    return value;
}

std::uint32_t OdbcConnection::infoU32(SQLUSMALLINT infoType) const {
    SQLUINTEGER value = 0;
    readInfo(infoType, &value, sizeof value);
    return value;
}

bool OdbcConnection::supportsFunction(SQLUSMALLINT functionId) const {
    SQLUSMALLINT exists = SQL_FALSE;
    const SQLRETURN rc = SQLGetFunctions(dbc, functionId, &exists);
    if (!SQL_SUCCEEDED(rc)) {
        throwError(rc);
    }
    return exists == SQL_TRUE;
}

void OdbcConnection::applyQueryTimeout(SQLHSTMT stmt) {
    const int seconds = queryTimeoutSeconds;
    if (seconds <= 0 || queryTimeoutRefused) {
        return;
    }
    // A driver without query timeouts runs statements without one; SQL_SUCCESS_WITH_INFO
    // means it took a value of its own (01S02).
    const SQLRETURN rc = SQLSetStmtOption(stmt, SQL_QUERY_TIMEOUT, static_cast<SQLULEN>(seconds));
    if (!SQL_SUCCEEDED(rc)) {
        queryTimeoutRefused = true;
    }
}

} // namespace veltro
