#include "Diagnostics.h"

#include "OutputBuffer.h"

namespace veltro::testdriver {

void Diagnostics::clear() {
    records_.clear();
    returnCode_ = SQL_SUCCESS;
    rowCount_ = 0;
}

void Diagnostics::add(std::string state, std::string message, SQLINTEGER native) {
    if (message.empty() || message.front() != '[')
        message = messagePrefix + message;
    records_.push_back({std::move(state), native, std::move(message)});
}

void Diagnostics::add(const DiagRecord& record) {
    add(record.state, record.message, record.native);
}

SQLRETURN Diagnostics::error(std::string state, std::string message, SQLINTEGER native) {
    add(std::move(state), std::move(message), native);
    return finish(SQL_ERROR);
}

SQLRETURN Diagnostics::finish(SQLRETURN rc) {
    returnCode_ = rc;
    return rc;
}

SQLRETURN Diagnostics::getRec(SQLSMALLINT recNumber, SQLCHAR* state, SQLINTEGER* native,
                              SQLCHAR* message, SQLSMALLINT bufferLength,
                              SQLSMALLINT* textLength) const {
    if (recNumber <= 0)
        return SQL_ERROR;
    if (static_cast<size_t>(recNumber) > records_.size())
        return SQL_NO_DATA;
    const DiagRecord& record = records_[recNumber - 1];
    if (state != nullptr)
        copyOut<SQLSMALLINT>(record.state, state, 6, nullptr);
    if (native != nullptr)
        *native = record.native;
    return copyOut(record.message, message, bufferLength, textLength) ? SQL_SUCCESS_WITH_INFO
                                                                      : SQL_SUCCESS;
}

SQLRETURN Diagnostics::getField(SQLSMALLINT recNumber, SQLSMALLINT identifier, SQLPOINTER info,
                                SQLSMALLINT bufferLength, SQLSMALLINT* stringLength) const {
    const auto text = [&](std::string_view value) {
        return copyOut(value, info, bufferLength, stringLength) ? SQL_SUCCESS_WITH_INFO
                                                                : SQL_SUCCESS;
    };
    switch (identifier) {
    case SQL_DIAG_NUMBER:
        *static_cast<SQLINTEGER*>(info) = static_cast<SQLINTEGER>(records_.size());
        return SQL_SUCCESS;
    case SQL_DIAG_RETURNCODE:
        *static_cast<SQLRETURN*>(info) = returnCode_;
        return SQL_SUCCESS;
    case SQL_DIAG_ROW_COUNT:
    case SQL_DIAG_CURSOR_ROW_COUNT:
        *static_cast<SQLLEN*>(info) = rowCount_;
        return SQL_SUCCESS;
    case SQL_DIAG_DYNAMIC_FUNCTION:
        return text("");
    case SQL_DIAG_DYNAMIC_FUNCTION_CODE:
        *static_cast<SQLINTEGER*>(info) = SQL_DIAG_UNKNOWN_STATEMENT;
        return SQL_SUCCESS;
    default:
        break;
    }
    if (recNumber <= 0)
        return SQL_ERROR;
    if (static_cast<size_t>(recNumber) > records_.size())
        return SQL_NO_DATA;
    const DiagRecord& record = records_[recNumber - 1];
    switch (identifier) {
    case SQL_DIAG_SQLSTATE:
        return text(record.state);
    case SQL_DIAG_NATIVE:
        *static_cast<SQLINTEGER*>(info) = record.native;
        return SQL_SUCCESS;
    case SQL_DIAG_MESSAGE_TEXT:
        return text(record.message);
    case SQL_DIAG_CLASS_ORIGIN:
    case SQL_DIAG_SUBCLASS_ORIGIN:
        return text(record.state.rfind("IM", 0) == 0 || record.state.rfind("HY", 0) == 0
                        ? "ODBC 3.0"
                        : "ISO 9075");
    case SQL_DIAG_CONNECTION_NAME:
    case SQL_DIAG_SERVER_NAME:
        return text("");
    case SQL_DIAG_COLUMN_NUMBER:
        *static_cast<SQLINTEGER*>(info) = SQL_COLUMN_NUMBER_UNKNOWN;
        return SQL_SUCCESS;
    case SQL_DIAG_ROW_NUMBER:
        *static_cast<SQLLEN*>(info) = SQL_ROW_NUMBER_UNKNOWN;
        return SQL_SUCCESS;
    default:
        return SQL_ERROR;
    }
}

} // namespace veltro::testdriver
