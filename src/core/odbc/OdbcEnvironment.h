#pragma once

#include <sql.h>

#include <memory>

namespace veltro {

// The one ODBC environment of the program: allocated by the first connection that asks
// for it and freed when the last owner lets it go.
class OdbcEnvironment {
public:
    // Throws DatabaseError when the driver manager cannot allocate an environment.
    static std::shared_ptr<OdbcEnvironment> acquire();

    ~OdbcEnvironment();
    OdbcEnvironment(const OdbcEnvironment&) = delete;
    OdbcEnvironment& operator=(const OdbcEnvironment&) = delete;

    SQLHENV handle() const { return env; }

    // Whether an environment exists now; for tests of the sharing rule.
    static bool isAllocated();

private:
    explicit OdbcEnvironment(SQLHENV handle) : env(handle) {}

    SQLHENV env;
};

} // namespace veltro
