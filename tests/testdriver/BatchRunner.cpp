#include "BatchRunner.h"

#include "Connection.h"
#include "DbmsEmulator.h"

#include <cctype>
#include <cstring>

namespace veltro::testdriver {

namespace {

DiagRecord sqliteError(sqlite3* database, int code) {
    const std::string message = sqlite3_errmsg(database);
    std::string state = "HY000";
    if ((code & 0xFF) == SQLITE_INTERRUPT)
        return {"HY008", 0, std::string(messagePrefix) + "Operation canceled"};
    if (message.rfind("no such table", 0) == 0)
        state = "42S02";
    else if (message.rfind("no such column", 0) == 0)
        state = "42S22";
    else if (message.find("syntax error") != std::string::npos)
        state = "42000";
    else if ((code & 0xFF) == SQLITE_CONSTRAINT)
        state = "23000";
    return {state, code, std::string(messagePrefix) + "[SQLite]" + message};
}

// How many virtual machine steps SQLite takes between looks at the cancel request.
constexpr int progressSteps = 1000;

DiagRecord canceled() {
    return {"HY008", 0, std::string(messagePrefix) + "Operation canceled"};
}

} // namespace

void BatchRunner::start(std::string sql, bool multipleResults) {
    sql_ = std::move(sql);
    position_ = 0;
    multipleResults_ = multipleResults;
    ranOne_ = false;
}

std::optional<Outcome> BatchRunner::next(Connection& connection,
                                         const std::atomic<bool>& cancelRequested) {
    if (ranOne_ && !multipleResults_)
        return std::nullopt;
    while (true) {
        while (
            position_ < sql_.size() &&
            (std::isspace(static_cast<unsigned char>(sql_[position_])) || sql_[position_] == ';'))
            ++position_;
        if (position_ >= sql_.size())
            return std::nullopt;
        // Emulated statements never contain ';', so the text up to it is a candidate.
        const size_t end = std::min(sql_.find(';', position_), sql_.size());
        DbmsEmulator emulator(connection);
        if (auto outcome =
                emulator.run(std::string_view(sql_).substr(position_, end - position_))) {
            position_ = end;
            ranOne_ = true;
            applyColumnOverrides(outcome->result, connection);
            return outcome;
        }
        bool empty = false;
        Outcome outcome = runSqlite(connection, cancelRequested, empty);
        if (empty)
            continue;
        ranOne_ = true;
        applyColumnOverrides(outcome.result, connection);
        return outcome;
    }
}

Outcome BatchRunner::runSqlite(Connection& connection, const std::atomic<bool>& cancelRequested,
                               bool& empty) {
    sqlite3* database = connection.database();
    sqlite3_stmt* statement = nullptr;
    const char* start = sql_.c_str() + position_;
    const char* tail = nullptr;
    const int prepared = sqlite3_prepare_v2(database, start, -1, &statement, &tail);
    if (prepared != SQLITE_OK) {
        // Where the failing statement ends is unknown, so the rest of the batch is dropped.
        position_ = sql_.size();
        return Outcome::failure(sqliteError(database, prepared));
    }
    position_ += static_cast<size_t>(tail - start);
    if (statement == nullptr) {
        empty = true;
        return {};
    }
    connection.beginImplicitTransaction();
    ResultSet result;
    const int columnCount = sqlite3_column_count(statement);
    for (int i = 0; i < columnCount; ++i)
        result.columns.push_back(columnFromDeclaredType(sqlite3_column_name(statement, i),
                                                        sqlite3_column_decltype(statement, i)));
    // A cancel stops SQLite in the middle of its work, as a server stops a query, however
    // close to the start of a step it comes.
    sqlite3_progress_handler(
        database, progressSteps,
        [](void* flag) { return static_cast<const std::atomic<bool>*>(flag)->load() ? 1 : 0; },
        const_cast<std::atomic<bool>*>(&cancelRequested));
    int code = SQLITE_ROW;
    while (!cancelRequested.load() && (code = sqlite3_step(statement)) == SQLITE_ROW) {
        std::vector<Value> row;
        row.reserve(static_cast<size_t>(columnCount));
        for (int i = 0; i < columnCount; ++i) {
            const int type = sqlite3_column_type(statement, i);
            if (type == SQLITE_NULL) {
                row.push_back(Value::null());
            } else if (type == SQLITE_BLOB) {
                const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, i));
                row.push_back(Value::binary(
                    std::string(bytes, static_cast<size_t>(sqlite3_column_bytes(statement, i)))));
            } else {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
                row.push_back(Value::text(
                    std::string(text, static_cast<size_t>(sqlite3_column_bytes(statement, i)))));
            }
        }
        result.rows.push_back(std::move(row));
    }
    const bool wasCanceled = cancelRequested.load();
    sqlite3_progress_handler(database, 0, nullptr, nullptr);
    sqlite3_finalize(statement);
    if (wasCanceled)
        return Outcome::failure(canceled());
    if (code != SQLITE_DONE)
        return Outcome::failure(sqliteError(database, code));
    if (columnCount == 0)
        result.rowCount = sqlite3_changes(database);
    return Outcome::of(std::move(result));
}

void applyColumnOverrides(ResultSet& result, const Connection& connection) {
    const Profile& profile = connection.profile();
    for (auto& column : result.columns) {
        if (const auto type = profile.columnTypes.find(column.name);
            type != profile.columnTypes.end())
            applyTypeSpec(column, type->second);
        if (const auto size = profile.columnSizes.find(column.name);
            size != profile.columnSizes.end())
            column.size = size->second;
        else if (profile.columnSize)
            column.size = *profile.columnSize;
    }
}

} // namespace veltro::testdriver
