#include "odbc/DatabaseError.h"

#include "odbc/DiagnosticText.h"

#include <sqlext.h>

#include <cstring>
#include <vector>

namespace veltro {

namespace {

// A driver that keeps answering must not keep us here forever.
constexpr int maxDiagnosticRecords = 256;

} // namespace

DatabaseError::DatabaseError(SQLRETURN returnCode, std::string errorText, std::string stateText)
    : code(returnCode), error(std::move(errorText)), state(std::move(stateText)) {
    whatText = displayText();
}

std::vector<DiagnosticRecord> readDiagnostics(SQLHENV env, SQLHDBC dbc, SQLHSTMT stmt,
                                              DiagnosticKind kind) {
    std::vector<DiagnosticRecord> records;
    std::vector<SQLCHAR> message(4096);
    for (int record = 0; record < maxDiagnosticRecords; ++record) {
        SQLCHAR sqlState[SQL_SQLSTATE_SIZE + 1] = {};
        SQLINTEGER nativeError = 0;
        SQLSMALLINT length = 0;
        // SQL_NO_DATA (or a failure) means there are no more records to read.
        const SQLRETURN rc = SQLError(env, dbc, stmt, sqlState, &nativeError, message.data(),
                                      static_cast<SQLSMALLINT>(message.size()), &length);
        if (!SQL_SUCCEEDED(rc)) {
            break;
        }
        const char* state = reinterpret_cast<const char*>(sqlState);
        if (kind == DiagnosticKind::errors && std::strcmp(state, "00000") == 0) {
            break;
        }
        records.push_back(
            {state, static_cast<long>(nativeError), reinterpret_cast<const char*>(message.data())});
    }
    return records;
}

DatabaseError DatabaseError::fromHandles(SQLRETURN returnCode, SQLHENV env, SQLHDBC dbc,
                                         SQLHSTMT stmt) {
    std::string errorText;
    std::string stateText;
    for (const DiagnosticRecord& record : readDiagnostics(env, dbc, stmt)) {
        const OriginSplit split = splitOriginTags(record.message);
        errorText += split.message;
        errorText += '\n';
        stateText += stateLine(record.sqlState, record.nativeError, split.origin);
    }
    return DatabaseError(returnCode, std::move(errorText), std::move(stateText));
}

std::string DatabaseError::displayText() const {
    std::string text = error + state;
    if (text.empty()) {
        text = "Errors occurred.";
    }
    return text;
}

const char* DatabaseError::what() const noexcept {
    return whatText.c_str();
}

} // namespace veltro
