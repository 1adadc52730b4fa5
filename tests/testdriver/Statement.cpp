#include "Statement.h"

#include "ColumnAttributes.h"
#include "Connection.h"
#include "OutputBuffer.h"
#include "SqlTypeMapper.h"
#include "ValueConverter.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace veltro::testdriver {

namespace {

using Lock = std::lock_guard<std::mutex>;

size_t indexOf(CallKind kind) {
    return static_cast<size_t>(kind);
}

bool isApproximate(SQLSMALLINT sqlType) {
    return sqlType == SQL_REAL || sqlType == SQL_FLOAT || sqlType == SQL_DOUBLE;
}

// The number with as many significant digits as fit a buffer of that length; nullopt when
// even one digit does not fit, or the text is no number.
std::optional<std::string> roundedToFit(const std::string& text, SQLLEN bufferLength) {
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size())
        return std::nullopt;
    char rounded[32];
    for (int digits = 17; digits > 0; --digits) {
        const int length = std::snprintf(rounded, sizeof rounded, "%.*g", digits, number);
        if (length < bufferLength)
            return std::string(rounded, static_cast<size_t>(length));
    }
    return std::nullopt;
}

} // namespace

std::optional<SQLRETURN> Statement::stillExecuting(CallKind kind) {
    const size_t index = indexOf(kind);
    const int configured = connection_.profile().stillExecuting[index];
    if (configured == 0)
        return std::nullopt;
    if (!stillPending_[index]) {
        stillPending_[index] = true;
        stillLeft_[index] = configured;
    }
    if (canceledWhilePending_) {
        // ODBC: a cancelled asynchronous call finishes with HY008 on its next poll.
        stillPending_ = {};
        canceledWhilePending_ = false;
        return diagnostics_.error("HY008", "Operation canceled");
    }
    if (stillLeft_[index] > 0) {
        --stillLeft_[index];
        connection_.counters().bump(Counter::StillExecuting);
        return SQL_STILL_EXECUTING;
    }
    stillPending_[index] = false;
    return std::nullopt;
}

std::optional<SQLRETURN> Statement::pause(int milliseconds) {
    if (milliseconds > 0)
        connection_.counters().bump(Counter::Waits);
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto end = start + std::chrono::milliseconds(milliseconds);
    const auto timeout = start + std::chrono::seconds(queryTimeout_);
    // Polls so that SQLCancel from another thread lands within a millisecond or two.
    while (true) {
        if (cancelRequested_.load())
            return diagnostics_.error("HY008", "Operation canceled");
        const auto now = Clock::now();
        if (queryTimeout_ > 0 && now >= timeout)
            return diagnostics_.error("HYT00", "Query timeout expired");
        if (now >= end)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

SQLRETURN Statement::execDirect(std::string sql) {
    Lock lock(busyMutex_);
    diagnostics_.clear();
    if (const auto rc = stillExecuting(CallKind::Exec))
        return *rc;
    return run(sql);
}

SQLRETURN Statement::prepare(std::string sql) {
    Lock lock(busyMutex_);
    diagnostics_.clear();
    discardResults();
    preparedSql_ = std::move(sql);
    prepared_ = true;
    return SQL_SUCCESS;
}

SQLRETURN Statement::execute() {
    Lock lock(busyMutex_);
    diagnostics_.clear();
    if (!prepared_)
        return diagnostics_.error("HY010", "Function sequence error");
    if (const auto rc = stillExecuting(CallKind::Exec))
        return *rc;
    return run(preparedSql_);
}

SQLRETURN Statement::run(const std::string& sql) {
    discardResults();
    cancelRequested_ = false;
    if (connection_.executionFails(sql))
        return injectedError();
    if (const auto rc = pause(connection_.profile().execDelayMs))
        return *rc;
    // The whole batch runs now, as a server runs it; SQLMoreResults hands out the rest.
    BatchRunner batch;
    batch.start(sql, connection_.profile().multipleResults());
    while (auto outcome = batch.next(connection_, cancelRequested_)) {
        const bool canceled = !outcome->ok() && cancelRequested_.load();
        pending_.push_back(std::move(*outcome));
        if (canceled)
            break;
    }
    if (pending_.empty())
        return SQL_SUCCESS;
    Outcome first = std::move(pending_.front());
    pending_.pop_front();
    if (!first.ok())
        pending_.clear();
    return adopt(std::move(first));
}

SQLRETURN Statement::adopt(Outcome outcome) {
    if (!outcome.ok()) {
        for (const auto& record : outcome.errors)
            diagnostics_.add(record);
        return diagnostics_.finish(SQL_ERROR);
    }
    current_ = std::move(outcome.result);
    rowValid_ = false;
    if (maxRows_ > 0 && current_.rows.size() > maxRows_)
        current_.rows.resize(maxRows_);
    nextRow_ = 0;
    fetchCalls_ = 0;
    getDataColumn_ = 0;
    diagnostics_.setRowCount(current_.rowCount);
    return SQL_SUCCESS;
}

SQLRETURN Statement::injectedError() {
    for (const auto& record : connection_.profile().injectedErrors())
        diagnostics_.add(record);
    return diagnostics_.finish(SQL_ERROR);
}

SQLRETURN Statement::diagRec(SQLSMALLINT recNumber, SQLCHAR* state, SQLINTEGER* native,
                             SQLCHAR* message, SQLSMALLINT bufferLength, SQLSMALLINT* textLength) {
    Lock lock(busyMutex_);
    return diagnostics_.getRec(recNumber, state, native, message, bufferLength, textLength);
}

SQLRETURN Statement::diagField(SQLSMALLINT recNumber, SQLSMALLINT identifier, SQLPOINTER info,
                               SQLSMALLINT bufferLength, SQLSMALLINT* stringLength) {
    Lock lock(busyMutex_);
    return diagnostics_.getField(recNumber, identifier, info, bufferLength, stringLength);
}

void Statement::discardResults() {
    current_ = {};
    nextRow_ = 0;
    rowValid_ = false;
    getDataColumn_ = 0;
    pending_.clear();
}

bool Statement::onRow() const {
    return rowValid_ && nextRow_ <= current_.rows.size();
}

const ColumnInfo* Statement::columnAt(SQLUSMALLINT column) {
    if (column < 1 || column > current_.columns.size()) {
        diagnostics_.error("07009", "Invalid descriptor index");
        return nullptr;
    }
    return &current_.columns[column - 1];
}

SQLRETURN Statement::numResultCols(SQLSMALLINT* count) {
    Lock lock(busyMutex_);
    diagnostics_.clear();
    if (const auto rc = stillExecuting(CallKind::Describe))
        return *rc;
    if (count != nullptr)
        *count = static_cast<SQLSMALLINT>(current_.columns.size());
    return SQL_SUCCESS;
}

SQLRETURN Statement::describeCol(SQLUSMALLINT column, SQLCHAR* name, SQLSMALLINT bufferLength,
                                 SQLSMALLINT* nameLength, SQLSMALLINT* type, SQLULEN* size,
                                 SQLSMALLINT* digits, SQLSMALLINT* nullable) {
    Lock lock(busyMutex_);
    diagnostics_.clear();
    const ColumnInfo* info = columnAt(column);
    if (info == nullptr)
        return SQL_ERROR;
    if (const auto rc = stillExecuting(CallKind::Describe))
        return *rc;
    if (type != nullptr)
        *type = info->sqlType;
    if (size != nullptr)
        *size = info->size;
    if (digits != nullptr)
        *digits = info->digits;
    if (nullable != nullptr)
        *nullable = info->nullable;
    if (copyOut(info->name, name, bufferLength, nameLength)) {
        diagnostics_.add("01004", "String data, right truncated");
        return diagnostics_.finish(SQL_SUCCESS_WITH_INFO);
    }
    return SQL_SUCCESS;
}

SQLRETURN Statement::colAttribute(SQLUSMALLINT column, SQLUSMALLINT field, SQLPOINTER text,
                                  SQLSMALLINT bufferLength, SQLSMALLINT* length, SQLLEN* number) {
    Lock lock(busyMutex_);
    diagnostics_.clear();
    if (field == SQL_DESC_COUNT || field == SQL_COLUMN_COUNT) {
        if (number != nullptr)
            *number = static_cast<SQLLEN>(current_.columns.size());
        return SQL_SUCCESS;
    }
    const ColumnInfo* info = columnAt(column);
    if (info == nullptr)
        return SQL_ERROR;
    return columnAttribute(*info, current_.columns.size(), field, text, bufferLength, length,
                           number, diagnostics_);
}

SQLRETURN Statement::bindCol(SQLUSMALLINT column, SQLSMALLINT targetType, SQLPOINTER target,
                             SQLLEN bufferLength, SQLLEN* indicator) {
    Lock lock(busyMutex_);
    diagnostics_.clear();
    if (target == nullptr)
        bindings_.erase(column);
    else
        bindings_[column] = {targetType, target, bufferLength, indicator};
    return SQL_SUCCESS;
}

SQLRETURN Statement::fetch() {
    Lock lock(busyMutex_);
    diagnostics_.clear();
    if (!current_.hasCursor())
        return diagnostics_.error("24000", "Invalid cursor state");
    if (const auto rc = stillExecuting(CallKind::Fetch))
        return *rc;
    cancelRequested_ = false;
    rowValid_ = false;
    if (connection_.profile().failFetch.fires(++fetchCalls_))
        return injectedError();
    if (const auto rc = pause(connection_.profile().fetchDelayMs)) {
        discardResults();
        return *rc;
    }
    if (nextRow_ >= current_.rows.size()) {
        nextRow_ = current_.rows.size() + 1;
        return SQL_NO_DATA;
    }
    ++nextRow_;
    rowValid_ = true;
    getDataColumn_ = 0;
    return writeBoundColumns();
}

SQLRETURN Statement::writeBoundColumns() {
    SQLRETURN rc = SQL_SUCCESS;
    for (const auto& [column, binding] : bindings_) {
        if (column < 1 || column > current_.columns.size())
            continue;
        const Conversion result = ValueConverter::write(
            current_.rows[nextRow_ - 1][column - 1], binding.targetType, binding.target,
            binding.bufferLength, binding.indicator, 0, false);
        if (result.rc != SQL_SUCCESS) {
            diagnostics_.add(result.state, result.message);
            rc = result.rc == SQL_ERROR ? SQL_ERROR : SQL_SUCCESS_WITH_INFO;
        }
    }
    return diagnostics_.finish(rc);
}

SQLRETURN Statement::getData(SQLUSMALLINT column, SQLSMALLINT targetType, SQLPOINTER target,
                             SQLLEN bufferLength, SQLLEN* indicator) {
    Lock lock(busyMutex_);
    diagnostics_.clear();
    if (!onRow())
        return diagnostics_.error("24000", "Invalid cursor state");
    const ColumnInfo* info = columnAt(column);
    if (info == nullptr)
        return SQL_ERROR;
    if (const auto rc = stillExecuting(CallKind::GetData))
        return *rc;
    // Reading another column restarts; the previous column cannot be continued.
    if (column != getDataColumn_) {
        getDataColumn_ = column;
        getDataOffset_ = 0;
        getDataDone_ = false;
    }
    if (getDataDone_)
        return SQL_NO_DATA;
    const NoTotalMode mode = connection_.profile().noTotal;
    const bool noTotal = mode == NoTotalMode::AllColumns ||
                         (mode == NoTotalMode::LongColumns && isLongType(info->sqlType));
    const Value* value = &current_.rows[nextRow_ - 1][column - 1];
    Value rounded;
    if (connection_.profile().roundApproximate && targetType == SQL_C_CHAR && getDataOffset_ == 0 &&
        isApproximate(info->sqlType) && !value->isNull &&
        static_cast<SQLLEN>(value->bytes.size()) >= bufferLength) {
        if (auto text = roundedToFit(value->bytes, bufferLength)) {
            rounded = Value::text(std::move(*text));
            value = &rounded;
        }
    }
    const Conversion result = ValueConverter::write(*value, targetType, target, bufferLength,
                                                    indicator, getDataOffset_, noTotal);
    getDataOffset_ = result.delivered;
    getDataDone_ = result.complete;
    const auto& lengths = connection_.profile().reportedLengths;
    if (const auto length = lengths.find(info->name);
        length != lengths.end() && indicator != nullptr && *indicator != SQL_NULL_DATA)
        *indicator = length->second;
    if (result.rc != SQL_SUCCESS)
        diagnostics_.add(result.state, result.message);
    return diagnostics_.finish(result.rc);
}

SQLRETURN Statement::moreResults() {
    Lock lock(busyMutex_);
    diagnostics_.clear();
    if (const auto rc = stillExecuting(CallKind::MoreResults))
        return *rc;
    current_ = {};
    nextRow_ = 0;
    rowValid_ = false;
    // An injected error stands between two results; the next call goes on with the batch.
    if (connection_.profile().failMoreResults.fires(++moreResultsCalls_))
        return injectedError();
    if (pending_.empty())
        return SQL_NO_DATA;
    Outcome next = std::move(pending_.front());
    pending_.pop_front();
    return adopt(std::move(next));
}

SQLRETURN Statement::rowCount(SQLLEN* count) {
    Lock lock(busyMutex_);
    diagnostics_.clear();
    if (count != nullptr)
        *count = connection_.profile().rowCountUnknown ? -1 : current_.rowCount;
    return SQL_SUCCESS;
}

SQLRETURN Statement::cancel() {
    connection_.counters().bump(Counter::CancelCalls);
    if (busyMutex_.try_lock()) {
        Lock lock(busyMutex_, std::adopt_lock);
        diagnostics_.clear();
        for (bool pending : stillPending_)
            canceledWhilePending_ = canceledWhilePending_ || pending;
        // Nothing runs: SQLCancel acts as SQLFreeStmt(SQL_CLOSE).
        if (!canceledWhilePending_)
            discardResults();
        return SQL_SUCCESS;
    }
    if (missedCancels_ < connection_.profile().missCancels) {
        ++missedCancels_;
        return SQL_SUCCESS;
    }
    cancelRequested_ = true;
    sqlite3_interrupt(connection_.database());
    return SQL_SUCCESS;
}

SQLRETURN Statement::freeStmt(SQLUSMALLINT option) {
    Lock lock(busyMutex_);
    diagnostics_.clear();
    switch (option) {
    case SQL_CLOSE:
        discardResults();
        stillPending_ = {};
        return SQL_SUCCESS;
    case SQL_UNBIND:
        bindings_.clear();
        return SQL_SUCCESS;
    case SQL_RESET_PARAMS:
        return SQL_SUCCESS;
    default:
        return diagnostics_.error("HY092", "Invalid attribute/option identifier");
    }
}

SQLRETURN Statement::closeCursor() {
    Lock lock(busyMutex_);
    diagnostics_.clear();
    if (!current_.hasCursor())
        return diagnostics_.error("24000", "Invalid cursor state");
    discardResults();
    return SQL_SUCCESS;
}

SQLRETURN Statement::catalog(const std::function<Outcome(CatalogBuilder&)>& build) {
    Lock lock(busyMutex_);
    diagnostics_.clear();
    if (const auto rc = stillExecuting(CallKind::Catalog))
        return *rc;
    discardResults();
    if (connection_.catalogFails())
        return injectedError();
    CatalogBuilder builder(connection_);
    return adopt(build(builder));
}

SQLRETURN Statement::setAttribute(SQLINTEGER attribute, SQLPOINTER value) {
    Lock lock(busyMutex_);
    diagnostics_.clear();
    const auto number = reinterpret_cast<SQLULEN>(value);
    switch (attribute) {
    case SQL_ATTR_QUERY_TIMEOUT:
        queryTimeout_ = number;
        return SQL_SUCCESS;
    case SQL_ATTR_MAX_ROWS:
        maxRows_ = number;
        return SQL_SUCCESS;
    case SQL_ATTR_ASYNC_ENABLE:
        asyncEnable_ = number;
        return SQL_SUCCESS;
    case SQL_ATTR_ROW_ARRAY_SIZE:
        if (number != 1) {
            diagnostics_.add("01S02", "Option value changed");
            return diagnostics_.finish(SQL_SUCCESS_WITH_INFO);
        }
        return SQL_SUCCESS;
    default:
        return SQL_SUCCESS;
    }
}

SQLRETURN Statement::getAttribute(SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER,
                                  SQLINTEGER* length) {
    Lock lock(busyMutex_);
    diagnostics_.clear();
    const auto answer = [&](SQLULEN number) -> SQLRETURN {
        if (value != nullptr)
            *static_cast<SQLULEN*>(value) = number;
        if (length != nullptr)
            *length = sizeof(SQLULEN);
        return SQL_SUCCESS;
    };
    switch (attribute) {
    case SQL_ATTR_APP_ROW_DESC:
    case SQL_ATTR_APP_PARAM_DESC:
    case SQL_ATTR_IMP_ROW_DESC:
    case SQL_ATTR_IMP_PARAM_DESC: {
        const auto slot = static_cast<size_t>(attribute - SQL_ATTR_APP_ROW_DESC);
        if (value != nullptr)
            *static_cast<SQLPOINTER*>(value) = &descriptors_[slot];
        return SQL_SUCCESS;
    }
    case SQL_ATTR_QUERY_TIMEOUT:
        return answer(queryTimeout_);
    case SQL_ATTR_MAX_ROWS:
        return answer(maxRows_);
    case SQL_ATTR_ASYNC_ENABLE:
        return answer(asyncEnable_);
    case SQL_ATTR_ROW_ARRAY_SIZE:
        return answer(1);
    case SQL_ATTR_CURSOR_TYPE:
        return answer(SQL_CURSOR_FORWARD_ONLY);
    case SQL_ATTR_CONCURRENCY:
        return answer(SQL_CONCUR_READ_ONLY);
    case SQL_ATTR_ROW_NUMBER:
        return answer(onRow() ? nextRow_ : 0);
    default:
        return answer(0);
    }
}

} // namespace veltro::testdriver
