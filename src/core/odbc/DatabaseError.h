#pragma once

#include <sql.h>

#include <exception>
#include <string>

namespace veltro {

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
