#pragma once

#include <sql.h>

#include <exception>
#include <string>
#include <vector>

namespace veltro {

// One diagnostic record of a handle (SQLError), message as the driver gives it.
struct DiagnosticRecord {
    std::string sqlState;
    long nativeError = 0;
    std::string message;
};

// Every diagnostic record of the most specific handle given, until the driver has no more
// or, for errors, until a record with state "00000". Informational records may carry that
// state (a PostgreSQL NOTICE does).
enum class DiagnosticKind { errors, information };
std::vector<DiagnosticRecord> readDiagnostics(SQLHENV env, SQLHDBC dbc, SQLHSTMT stmt,
                                              DiagnosticKind kind = DiagnosticKind::errors);

// A failure reported by the driver or the driver manager. The two texts are built from
// every diagnostic record of the failing handle: errorText holds one line per record
// (the message without its leading bracketed origin tags), stateText one line per record
// ("State:...,Native:...,Origin:[tags]").
class DatabaseError : public std::exception {
public:
    DatabaseError(SQLRETURN returnCode, std::string errorText, std::string stateText);

    // Reads all diagnostic records of the handles (the most specific one that is given)
    // with SQLError.
    static DatabaseError fromHandles(SQLRETURN returnCode, SQLHENV env, SQLHDBC dbc, SQLHSTMT stmt);

    SQLRETURN returnCode() const { return code; }
    const std::string& errorText() const { return error; }
    const std::string& stateText() const { return state; }

    // The error text followed directly by the state text; "Errors occurred." when both
    // are empty.
    std::string displayText() const;

    const char* what() const noexcept override;

private:
    SQLRETURN code;
    std::string error;
    std::string state;
    std::string whatText;
};

// Error code for a column index outside the current result set.
inline constexpr SQLRETURN fieldNotFoundCode = 1026;

} // namespace veltro
