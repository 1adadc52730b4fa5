#include "odbc/OdbcEnvironment.h"

#include "odbc/DatabaseError.h"
#include "odbc/OdbcCall.h"

#include <mutex>

namespace veltro {

namespace {

std::mutex environmentMutex;
std::weak_ptr<OdbcEnvironment> sharedEnvironment;

} // namespace

std::shared_ptr<OdbcEnvironment> OdbcEnvironment::acquire() {
    std::lock_guard lock(environmentMutex);
    if (auto existing = sharedEnvironment.lock()) {
        return existing;
    }
    SQLHENV env = SQL_NULL_HENV;
    // An ODBC 2 environment: the program speaks the 2.x call level interface.
    const SQLRETURN rc = SQLAllocEnv(&env);
    if (rc != SQL_SUCCESS) {
        if (env != SQL_NULL_HENV) {
            // Nothing more can be done with an environment that failed to come up.
            ignoreFailure(SQLFreeEnv(env));
        }
        throw DatabaseError(rc, "", "");
    }
    std::shared_ptr<OdbcEnvironment> created(new OdbcEnvironment(env));
    sharedEnvironment = created;
    return created;
}

OdbcEnvironment::~OdbcEnvironment() {
    // Refused only while connections remain, which own this object: the program is ending.
    ignoreFailure(SQLFreeEnv(env));
}

bool OdbcEnvironment::isAllocated() {
    std::lock_guard lock(environmentMutex);
    return !sharedEnvironment.expired();
}

} // namespace veltro
