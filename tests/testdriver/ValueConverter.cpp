#include "ValueConverter.h"

#include "StringUtil.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace veltro::testdriver {

namespace {

Conversion failure(const char* state, const char* message) {
    return {SQL_ERROR, 0, false, state, message};
}

} // namespace

Conversion ValueConverter::write(const Value& value, SQLSMALLINT targetType, SQLPOINTER target,
                                 SQLLEN bufferLength, SQLLEN* indicator, size_t offset,
                                 bool noTotal) {
    if (value.isNull) {
        if (indicator == nullptr)
            return failure("22002", "Indicator variable required but not supplied");
        *indicator = SQL_NULL_DATA;
        return {};
    }
    if (targetType == SQL_C_DEFAULT)
        targetType = value.isBinary ? SQL_C_BINARY : SQL_C_CHAR;
    switch (targetType) {
    case SQL_C_CHAR:
        // Binary data reaches character buffers as two hex digits per byte.
        if (value.isBinary)
            return writeBytes(toHex(value.bytes), true, true, target, bufferLength, indicator,
                              offset, noTotal);
        return writeBytes(value.bytes, true, false, target, bufferLength, indicator, offset,
                          noTotal);
    case SQL_C_BINARY:
        return writeBytes(value.bytes, false, false, target, bufferLength, indicator, offset,
                          noTotal);
    case SQL_C_LONG:
    case SQL_C_SLONG:
    case SQL_C_ULONG:
    case SQL_C_SHORT:
    case SQL_C_SSHORT:
    case SQL_C_USHORT:
    case SQL_C_SBIGINT:
    case SQL_C_UBIGINT:
    case SQL_C_TINYINT:
    case SQL_C_STINYINT:
    case SQL_C_UTINYINT:
    case SQL_C_BIT:
    case SQL_C_DOUBLE:
    case SQL_C_FLOAT:
        if (value.isBinary)
            return failure("07006", "Restricted data type attribute violation");
        return writeNumber(value, targetType, target, indicator);
    default:
        return failure("07006", "Restricted data type attribute violation");
    }
}

Conversion ValueConverter::writeBytes(const std::string& data, bool characters, bool wholeBytes,
                                      SQLPOINTER target, SQLLEN bufferLength, SQLLEN* indicator,
                                      size_t offset, bool noTotal) {
    const size_t available = data.size() - std::min(offset, data.size());
    size_t capacity = 0;
    if (target != nullptr && bufferLength > 0)
        capacity = static_cast<size_t>(bufferLength) - (characters ? 1 : 0);
    size_t count = std::min(available, capacity);
    if (wholeBytes && count < available)
        count -= count % 2;
    if (target != nullptr && bufferLength > 0) {
        std::memcpy(target, data.data() + offset, count);
        if (characters)
            static_cast<char*>(target)[count] = '\0';
    }
    Conversion result;
    result.delivered = offset + count;
    result.complete = count == available;
    if (indicator != nullptr)
        *indicator = result.complete || !noTotal ? static_cast<SQLLEN>(available) : SQL_NO_TOTAL;
    if (!result.complete) {
        result.rc = SQL_SUCCESS_WITH_INFO;
        result.state = "01004";
        result.message = "String data, right truncated";
    }
    return result;
}

Conversion ValueConverter::writeNumber(const Value& value, SQLSMALLINT targetType,
                                       SQLPOINTER target, SQLLEN* indicator) {
    const std::string text = trim(value.bytes);
    char* end = nullptr;
    errno = 0;
    const double number = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || errno == ERANGE)
        return failure("22018", "Invalid character value for cast");
    const auto whole = static_cast<long long>(number);
    const auto store = [&](auto typed) {
        if (target != nullptr)
            std::memcpy(target, &typed, sizeof(typed));
        if (indicator != nullptr)
            *indicator = sizeof(typed);
    };
    switch (targetType) {
    case SQL_C_DOUBLE:
        store(number);
        break;
    case SQL_C_FLOAT:
        store(static_cast<float>(number));
        break;
    case SQL_C_SBIGINT:
    case SQL_C_UBIGINT: {
        // Parsed again as an integer so that large values keep every digit.
        char* integerEnd = nullptr;
        const long long exact = std::strtoll(text.c_str(), &integerEnd, 10);
        store(static_cast<SQLBIGINT>(integerEnd == text.c_str() + text.size() ? exact : whole));
        break;
    }
    case SQL_C_SHORT:
    case SQL_C_SSHORT:
    case SQL_C_USHORT:
        store(static_cast<SQLSMALLINT>(whole));
        break;
    case SQL_C_TINYINT:
    case SQL_C_STINYINT:
    case SQL_C_UTINYINT:
    case SQL_C_BIT:
        store(static_cast<SQLSCHAR>(whole));
        break;
    default:
        store(static_cast<SQLINTEGER>(whole));
        break;
    }
    return {};
}

} // namespace veltro::testdriver
