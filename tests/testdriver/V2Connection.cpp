#include "V2Connection.h"

namespace veltro::testdriver::test {

V2Connection::V2Connection(const std::string& attributes) {
    SQLAllocEnv(&environment_);
    SQLAllocConnect(environment_, &connection_);
    SQLSetConnectOption(connection_, SQL_LOGIN_TIMEOUT, 5);
    std::string text = "Driver={Veltro Test};" + attributes;
    connectResult_ = SQLDriverConnect(connection_, nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
                                      SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
}

V2Connection::~V2Connection() {
    if (SQL_SUCCEEDED(connectResult_))
        SQLDisconnect(connection_);
    SQLFreeConnect(connection_);
    SQLFreeEnv(environment_);
}

std::string V2Connection::infoText(SQLUSMALLINT type) const {
    char buffer[1024] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfo(connection_, type, buffer, sizeof buffer, &length)))
        return "<error>";
    return buffer;
}

SQLUSMALLINT V2Connection::infoShort(SQLUSMALLINT type) const {
    SQLUSMALLINT value = 0xBEEF;
    SQLGetInfo(connection_, type, &value, sizeof value, nullptr);
    return value;
}

SQLUINTEGER V2Connection::infoInteger(SQLUSMALLINT type) const {
    SQLUINTEGER value = 0xDEADBEEF;
    SQLGetInfo(connection_, type, &value, sizeof value, nullptr);
    return value;
}

std::vector<DiagnosticRecord> V2Connection::errors() const {
    std::vector<DiagnosticRecord> records;
    SQLCHAR state[6];
    SQLINTEGER native = 0;
    SQLCHAR message[1024];
    SQLSMALLINT length = 0;
    while (SQLError(environment_, connection_, SQL_NULL_HSTMT, state, &native, message,
                    sizeof message, &length) == SQL_SUCCESS)
        records.push_back(
            {reinterpret_cast<char*>(state), native, reinterpret_cast<char*>(message)});
    return records;
}

} // namespace veltro::testdriver::test
