#pragma once

#include "ResultSet.h"

#include <string>

namespace veltro::testdriver {

struct Conversion {
    SQLRETURN rc = SQL_SUCCESS;
    // Bytes of the value delivered so far, counting earlier partial reads.
    size_t delivered = 0;
    bool complete = true;
    std::string state;
    std::string message;
};

// Writes a value into an application buffer the way SQLGetData and bound columns
// do, continuing at `offset` for character and binary targets.
class ValueConverter {
public:
    static Conversion write(const Value& value, SQLSMALLINT targetType, SQLPOINTER target,
                            SQLLEN bufferLength, SQLLEN* indicator, size_t offset, bool noTotal);

private:
    static Conversion writeBytes(const std::string& data, bool characters, bool wholeBytes,
                                 SQLPOINTER target, SQLLEN bufferLength, SQLLEN* indicator,
                                 size_t offset, bool noTotal);
    static Conversion writeNumber(const Value& value, SQLSMALLINT targetType, SQLPOINTER target,
                                  SQLLEN* indicator);
};

} // namespace veltro::testdriver
