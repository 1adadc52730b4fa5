#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <vector>

namespace veltro::testdriver::test {

struct DiagnosticRecord {
    std::string state;
    SQLINTEGER native = 0;
    std::string message;
};

// An ODBC 2 style connection (SQLAllocEnv, SQLAllocConnect) to the test driver
// through the driver manager, as the program makes it.
class V2Connection {
public:
    // `attributes` follow "Driver={Veltro Test};".
    explicit V2Connection(const std::string& attributes = {});
    ~V2Connection();
    V2Connection(const V2Connection&) = delete;
    V2Connection& operator=(const V2Connection&) = delete;

    SQLRETURN connectResult() const { return connectResult_; }
    HDBC handle() const { return connection_; }
    HENV environment() const { return environment_; }

    std::string infoText(SQLUSMALLINT type) const;
    SQLUSMALLINT infoShort(SQLUSMALLINT type) const;
    SQLUINTEGER infoInteger(SQLUSMALLINT type) const;
    // The records SQLError gives for the connection.
    std::vector<DiagnosticRecord> errors() const;

private:
    HENV environment_ = SQL_NULL_HENV;
    HDBC connection_ = SQL_NULL_HDBC;
    SQLRETURN connectResult_ = SQL_ERROR;
};

} // namespace veltro::testdriver::test
