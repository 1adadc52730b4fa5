#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <vector>

namespace veltro::testdriver {

inline constexpr const char* messagePrefix = "[Veltro][TestDriver]";

struct DiagRecord {
    std::string state;
    SQLINTEGER native = 0;
    std::string message;
};

// The diagnostic area of one handle, cleared at the start of each call.
class Diagnostics {
public:
    void clear();
    // Adds a record; messages without a bracketed origin get the driver's prefix.
    void add(std::string state, std::string message, SQLINTEGER native = 0);
    void add(const DiagRecord& record);
    SQLRETURN error(std::string state, std::string message, SQLINTEGER native = 0);
    void setRowCount(SQLLEN rowCount) { rowCount_ = rowCount; }
    SQLRETURN finish(SQLRETURN rc);

    SQLRETURN getRec(SQLSMALLINT recNumber, SQLCHAR* state, SQLINTEGER* native, SQLCHAR* message,
                     SQLSMALLINT bufferLength, SQLSMALLINT* textLength) const;
    SQLRETURN getField(SQLSMALLINT recNumber, SQLSMALLINT identifier, SQLPOINTER info,
                       SQLSMALLINT bufferLength, SQLSMALLINT* stringLength) const;

private:
    std::vector<DiagRecord> records_;
    SQLRETURN returnCode_ = SQL_SUCCESS;
    SQLLEN rowCount_ = 0;
};

} // namespace veltro::testdriver
