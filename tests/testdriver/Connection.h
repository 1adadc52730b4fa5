#pragma once

#include "ConnectionString.h"
#include "Counters.h"
#include "Diagnostics.h"
#include "Environment.h"
#include "Profile.h"

#include <sqlite3.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace veltro::testdriver {

class Statement;

class Connection {
public:
    explicit Connection(Environment& environment);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Diagnostics& diagnostics() { return diagnostics_; }

    SQLRETURN driverConnect(std::string_view text, SQLCHAR* out, SQLSMALLINT outMax,
                            SQLSMALLINT* outLength);
    SQLRETURN connectDsn(std::string dsn, std::string user);
    SQLRETURN disconnect();

    SQLRETURN getInfo(SQLUSMALLINT type, SQLPOINTER value, SQLSMALLINT bufferLength,
                      SQLSMALLINT* length);
    SQLRETURN getFunctions(SQLUSMALLINT id, SQLUSMALLINT* supported) const;
    SQLRETURN setAttribute(SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER length);
    SQLRETURN getAttribute(SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER bufferLength,
                           SQLINTEGER* length);
    SQLRETURN endTransaction(SQLSMALLINT completion);

    // Fails with IM001 when the profile declares the function missing.
    bool refuseMissing(SQLUSMALLINT function, Diagnostics& diagnostics) const;
    // Counts an allocation; false when the profile makes this one fail.
    bool admitStatement();
    // Whether this catalog call of the connection answers the injected error.
    bool catalogFails();
    // Counts an execution; true when the profile makes this one fail.
    bool executionFails(std::string_view sql);
    void beginImplicitTransaction();

    // Statements belong to their connection, which frees any the driver manager
    // could not (e.g. one stuck in SQL_STILL_EXECUTING state) when it disconnects.
    Statement* createStatement();
    void destroyStatement(Statement* statement);

    const Profile& profile() const { return profile_; }
    sqlite3* database() const { return database_; }
    Counters& counters() { return *counters_; }
    SQLINTEGER odbcVersion() const { return environment_.odbcVersion; }
    std::string currentDatabase() const;
    bool useDatabase(std::string_view name);

private:
    SQLRETURN open(const ConnectionString& attributes);

    Environment& environment_;
    Diagnostics diagnostics_;
    Profile profile_;
    std::unique_ptr<Counters> counters_ = std::make_unique<Counters>();
    sqlite3* database_ = nullptr;
    std::string dataSourceName_;
    std::string userName_;
    mutable std::mutex currentDatabaseMutex_;
    std::string currentDatabase_;
    bool autocommit_ = true;
    SQLUINTEGER loginTimeout_ = 0;
    std::atomic<int> allocations_{0};
    std::atomic<int> executions_{0};
    std::atomic<int> catalogCalls_{0};
    std::mutex statementsMutex_;
    std::vector<std::unique_ptr<Statement>> statements_;
};

} // namespace veltro::testdriver
