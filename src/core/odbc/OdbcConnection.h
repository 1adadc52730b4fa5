#pragma once

#include <sql.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace veltro {

class DataSourcePrompt;
class OdbcEnvironment;

// One ODBC connection: the connection handle on the shared environment, the completed
// connect string, and the login and query timeouts that go with it.
class OdbcConnection {
public:
    OdbcConnection() = default;
    ~OdbcConnection();
    OdbcConnection(const OdbcConnection&) = delete;
    OdbcConnection& operator=(const OdbcConnection&) = delete;

    void setLoginTimeout(int seconds) { loginTimeoutSeconds = seconds; }
    int loginTimeout() const { return loginTimeoutSeconds; }

    // Applied to every statement opened on this connection from now on; 0 means none.
    void setQueryTimeout(int seconds) { queryTimeoutSeconds = seconds; }
    int queryTimeout() const { return queryTimeoutSeconds; }

    // Opens the connection. With an empty connect string and a prompt, the prompt is asked
    // for one; a cancelled prompt, or a driver that answers SQL_NO_DATA, is a quiet failure: the
    // result is false and nothing is open. Other failures throw DatabaseError, and so
    // does a driver below ODBC API conformance level 1 (an error without text).
    bool open(const std::string& connectString, DataSourcePrompt* prompt);
    void close();
    bool isOpen() const { return dbc != SQL_NULL_HDBC; }

    // "ODBC;" followed by the driver manager's completed connect string.
    const std::string& completedConnectString() const { return completed; }

    SQLHENV environmentHandle() const;
    SQLHDBC handle() const { return dbc; }

    // SQLGetInfo answers; failures throw DatabaseError.
    std::string infoText(SQLUSMALLINT infoType, size_t bufferSize = 200) const;
    std::uint16_t infoU16(SQLUSMALLINT infoType) const;
    std::uint32_t infoU32(SQLUSMALLINT infoType) const;
    bool supportsFunction(SQLUSMALLINT functionId) const;

    // Sets the query timeout on a new statement. A driver that refuses the option is
    // not asked again on this connection.
    void applyQueryTimeout(SQLHSTMT stmt);

private:
    [[noreturn]] void throwError(SQLRETURN rc) const;
    void freeHandle();
    void readInfo(SQLUSMALLINT infoType, SQLPOINTER value, SQLSMALLINT size) const;
    void checkConformance() const;

    std::shared_ptr<OdbcEnvironment> environment;
    SQLHDBC dbc = SQL_NULL_HDBC;
    std::string completed;
    int loginTimeoutSeconds = 0;
    std::atomic<int> queryTimeoutSeconds = 0;
    std::atomic<bool> queryTimeoutRefused = false;
};

} // namespace veltro
