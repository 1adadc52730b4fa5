#pragma once

#include "BatchRunner.h"
#include "CatalogBuilder.h"
#include "Diagnostics.h"
#include "Profile.h"

#include <array>
#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace veltro::testdriver {

class Connection;

// A statement handle. Every call holds busyMutex_ while it runs; SQLCancel from
// another thread only sets a flag (and interrupts SQLite) when the mutex is taken.
class Statement {
public:
    explicit Statement(Connection& connection) : connection_(connection) {}

    Connection& connection() { return connection_; }
    Diagnostics& diagnostics() { return diagnostics_; }
    // Locked, as SQLCancel may clear the diagnostics from another thread.
    SQLRETURN diagRec(SQLSMALLINT recNumber, SQLCHAR* state, SQLINTEGER* native, SQLCHAR* message,
                      SQLSMALLINT bufferLength, SQLSMALLINT* textLength);
    SQLRETURN diagField(SQLSMALLINT recNumber, SQLSMALLINT identifier, SQLPOINTER info,
                        SQLSMALLINT bufferLength, SQLSMALLINT* stringLength);

    SQLRETURN execDirect(std::string sql);
    SQLRETURN prepare(std::string sql);
    SQLRETURN execute();
    SQLRETURN numResultCols(SQLSMALLINT* count);
    SQLRETURN describeCol(SQLUSMALLINT column, SQLCHAR* name, SQLSMALLINT bufferLength,
                          SQLSMALLINT* nameLength, SQLSMALLINT* type, SQLULEN* size,
                          SQLSMALLINT* digits, SQLSMALLINT* nullable);
    SQLRETURN colAttribute(SQLUSMALLINT column, SQLUSMALLINT field, SQLPOINTER text,
                           SQLSMALLINT bufferLength, SQLSMALLINT* length, SQLLEN* number);
    SQLRETURN bindCol(SQLUSMALLINT column, SQLSMALLINT targetType, SQLPOINTER target,
                      SQLLEN bufferLength, SQLLEN* indicator);
    SQLRETURN fetch();
    SQLRETURN getData(SQLUSMALLINT column, SQLSMALLINT targetType, SQLPOINTER target,
                      SQLLEN bufferLength, SQLLEN* indicator);
    SQLRETURN moreResults();
    SQLRETURN rowCount(SQLLEN* count);
    SQLRETURN cancel();
    SQLRETURN freeStmt(SQLUSMALLINT option);
    SQLRETURN closeCursor();
    SQLRETURN catalog(const std::function<Outcome(CatalogBuilder&)>& build);
    SQLRETURN setAttribute(SQLINTEGER attribute, SQLPOINTER value);
    SQLRETURN getAttribute(SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER bufferLength,
                           SQLINTEGER* length);

private:
    struct Binding {
        SQLSMALLINT targetType;
        SQLPOINTER target;
        SQLLEN bufferLength;
        SQLLEN* indicator;
    };

    std::optional<SQLRETURN> stillExecuting(CallKind kind);
    std::optional<SQLRETURN> pause(int milliseconds);
    SQLRETURN run(const std::string& sql);
    SQLRETURN adopt(Outcome outcome);
    SQLRETURN injectedError();
    SQLRETURN writeBoundColumns();
    void discardResults();
    bool onRow() const;
    const ColumnInfo* columnAt(SQLUSMALLINT column);

    Connection& connection_;
    Diagnostics diagnostics_;
    std::mutex busyMutex_;
    std::atomic<bool> cancelRequested_{false};

    std::deque<Outcome> pending_;
    ResultSet current_;
    size_t nextRow_ = 0;
    bool rowValid_ = false;
    int fetchCalls_ = 0;
    int moreResultsCalls_ = 0;
    SQLUSMALLINT getDataColumn_ = 0;
    size_t getDataOffset_ = 0;
    bool getDataDone_ = false;
    std::map<SQLUSMALLINT, Binding> bindings_;
    std::string preparedSql_;
    bool prepared_ = false;

    std::array<int, callKindCount> stillLeft_{};
    std::array<bool, callKindCount> stillPending_{};
    bool canceledWhilePending_ = false;
    std::atomic<int> missedCancels_{0};

    SQLULEN queryTimeout_ = 0;
    SQLULEN maxRows_ = 0;
    SQLULEN asyncEnable_ = SQL_ASYNC_ENABLE_OFF;
    // Stand-ins for the implicit descriptors the driver manager asks for.
    std::array<char, 4> descriptors_{};
};

} // namespace veltro::testdriver
