#include "history/HistoryStore.h"

#include "common/AppError.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <utility>

namespace veltro {

namespace {

constexpr int busyWaitMs = 2000;

// An SQLite failure that the file itself causes: such a file is set aside.
class UnusableFile : public AppError {
public:
    using AppError::AppError;
};

[[noreturn]] void fail(sqlite3* db, int code, const std::string& doing) {
    const std::string text =
        doing + ": " + (db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code));
    switch (code & 0xff) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw UnusableFile(text);
    default:
        throw AppError(text);
    }
}

// A prepared statement, finalized when it goes.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) : db(db) {
        const int code = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
        if (code != SQLITE_OK) {
            fail(db, code, "prepare");
        }
    }
    ~Statement() { sqlite3_finalize(statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, const std::string& text) {
        // SQLITE_TRANSIENT: SQLite copies the text.
        check(sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()),
                                SQLITE_TRANSIENT));
    }
    void bind(int index, std::int64_t value) { check(sqlite3_bind_int64(statement, index, value)); }
    // True while there is a row.
    bool step() {
        const int code = sqlite3_step(statement);
        if (code == SQLITE_ROW) {
            return true;
        }
        if (code != SQLITE_DONE) {
            fail(db, code, "step");
        }
        return false;
    }
    std::string text(int column) const { return std::string(view(column)); }
    // Valid until the next step.
    std::string_view view(int column) const {
        const auto* bytes = sqlite3_column_text(statement, column);
        return bytes != nullptr ? std::string_view(reinterpret_cast<const char*>(bytes),
                                                   static_cast<std::size_t>(
                                                       sqlite3_column_bytes(statement, column)))
                                : std::string_view();
    }
    std::int64_t number(int column) const { return sqlite3_column_int64(statement, column); }

private:
    void check(int code) {
        if (code != SQLITE_OK) {
            fail(db, code, "bind");
        }
    }
    sqlite3* db;
    sqlite3_stmt* statement = nullptr;
};

void execute(sqlite3* db, const char* sql) {
    const int code = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) {
        fail(db, code, "execute");
    }
}

// A write transaction, rolled back unless committed.
class Transaction {
public:
    explicit Transaction(sqlite3* db) : db(db) { execute(db, "BEGIN IMMEDIATE"); }
    ~Transaction() {
        if (!committed) {
            // Its code is not looked at: a failed statement may have ended it already.
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        }
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit() {
        execute(db, "COMMIT");
        committed = true;
    }

private:
    sqlite3* db;
    bool committed = false;
};

// Renames without replacing what has the new name: fails with EEXIST then.
int renameNoReplace(const std::string& from, const std::string& to) {
    const int code = ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
    if (code == 0 || errno != EINVAL) {
        return code;
    }
    // A file system that does not know the flag.
    struct stat taken {};
    if (::lstat(to.c_str(), &taken) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(from.c_str(), to.c_str());
}

std::string timeSuffix() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
    return text;
}

} // namespace

void HistoryStore::Closer::operator()(sqlite3* handle) const {
    sqlite3_close_v2(handle);
}

HistoryStore::HistoryStore(std::string file) : path(std::move(file)) {
    try {
        open();
    } catch (const UnusableFile& failure) {
        setAside(failure.what());
    }
}

HistoryStore::~HistoryStore() = default;

void HistoryStore::open() {
    db.reset();
    // Queries may name what only the user may see: a new file is the user's alone.
    if (const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600); fd >= 0) {
        ::close(fd);
    }
    sqlite3* handle = nullptr;
    const int code = sqlite3_open_v2(
        path.c_str(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
        nullptr);
    db.reset(handle);
    if (code != SQLITE_OK) {
        fail(handle, code, "open " + path);
    }
    sqlite3_busy_timeout(handle, busyWaitMs);
    execute(handle, "CREATE TABLE IF NOT EXISTS history ("
                    " id INTEGER PRIMARY KEY AUTOINCREMENT, text TEXT NOT NULL,"
                    " data_source TEXT NOT NULL, started_at INTEGER NOT NULL,"
                    " duration_ms INTEGER NOT NULL, outcome TEXT NOT NULL,"
                    " results INTEGER NOT NULL, row_count INTEGER NOT NULL)");
    Statement check(handle, "PRAGMA quick_check");
    if (!check.step() || check.text(0) != "ok") {
        throw UnusableFile("quick check: " + check.text(0));
    }
}

void HistoryStore::setAside(const std::string& why) {
    db.reset();
    // "<path>.unusable-<time>", or with "-2", "-3"... when an earlier one took that name.
    const std::string base = path + ".unusable-" + timeSuffix();
    constexpr int maxNumber = 1000;
    std::string aside = base;
    int code = renameNoReplace(path, aside);
    for (int number = 2; code != 0 && errno == EEXIST && number <= maxNumber; ++number) {
        aside = base + "-" + std::to_string(number);
        code = renameNoReplace(path, aside);
    }
    const int renameError = errno;
    std::string failure =
        code != 0 ? "could not be set aside as " + aside + ": " + std::strerror(renameError) : "";
    // Its journal goes with it, so that the file stays as it was and the new history does
    // not take the journal for its own.
    for (const std::string companion : {"-journal", "-wal", "-shm"}) {
        if (failure.empty() &&
            ::rename((path + companion).c_str(), (aside + companion).c_str()) != 0 &&
            errno != ENOENT) {
            failure = "was set aside as " + aside + ", but its " + path + companion +
                      " could not be: " + std::strerror(errno);
        }
    }
    // Without a file of its own the history stays closed: the unusable one is never used.
    if (!failure.empty()) {
        throw AppError(path + " could not be used (" + why + ") and " + failure);
    }
    notices.push_back("The query history " + path + " could not be used (" + why +
                      "). It was set aside as " + aside + " and a new history was started.");
    open();
}

template <typename Step> auto HistoryStore::withRecovery(Step step) {
    try {
        return step();
    } catch (const UnusableFile& failure) {
        setAside(failure.what());
        return step();
    }
}

void HistoryStore::add(const HistoryEntry& entry, int keep) {
    withRecovery([&] {
        Transaction transaction(db.get());
        Statement insert(db.get(),
                         "INSERT INTO history (text, data_source, started_at, duration_ms,"
                         " outcome, results, row_count) VALUES (?, ?, ?, ?, ?, ?, ?)");
        insert.bind(1, entry.text);
        insert.bind(2, entry.dataSource);
        insert.bind(3, entry.startedAt);
        insert.bind(4, entry.durationMs);
        insert.bind(5, std::string(outcomeName(entry.outcome)));
        insert.bind(6, static_cast<std::int64_t>(entry.results));
        insert.bind(7, entry.rows);
        insert.step();
        // The newest keep entries stay: the bound below them is found by walking the ids
        // down from the newest, and what lies below it is deleted as one range of ids.
        Statement trim(db.get(), "DELETE FROM history WHERE id <="
                                 " (SELECT id FROM history ORDER BY id DESC LIMIT 1 OFFSET ?)");
        trim.bind(1, static_cast<std::int64_t>(keep));
        trim.step();
        transaction.commit();
    });
}

std::vector<HistoryEntry> HistoryStore::find(const HistoryFilter& filter) {
    return withRecovery([&] {
        Statement query(db.get(),
                        "SELECT id, text, data_source, started_at, duration_ms, outcome, results,"
                        " row_count FROM history WHERE instr(lower(text), lower(?1)) > 0"
                        " AND (?2 = '' OR data_source = ?2) ORDER BY id DESC LIMIT ?3");
        query.bind(1, filter.text);
        query.bind(2, filter.dataSource);
        query.bind(3, static_cast<std::int64_t>(filter.limit));
        std::vector<HistoryEntry> entries;
        while (query.step()) {
            HistoryEntry entry;
            entry.id = query.number(0);
            entry.text = filter.previewCharacters == 0
                             ? query.text(1)
                             : textPreview(query.view(1), filter.previewCharacters);
            entry.dataSource = query.text(2);
            entry.startedAt = query.number(3);
            entry.durationMs = query.number(4);
            entry.outcome = outcomeFromName(query.text(5));
            entry.results = static_cast<int>(query.number(6));
            entry.rows = query.number(7);
            entries.push_back(std::move(entry));
        }
        return entries;
    });
}

std::optional<std::string> HistoryStore::text(std::int64_t id) {
    return withRecovery([&]() -> std::optional<std::string> {
        Statement query(db.get(), "SELECT text FROM history WHERE id = ?");
        query.bind(1, id);
        return query.step() ? std::optional(query.text(0)) : std::nullopt;
    });
}

std::vector<std::string> HistoryStore::dataSources() {
    return withRecovery([&] {
        Statement query(db.get(), "SELECT DISTINCT data_source FROM history ORDER BY data_source");
        std::vector<std::string> names;
        while (query.step()) {
            names.push_back(query.text(0));
        }
        return names;
    });
}

void HistoryStore::clear() {
    withRecovery([&] { execute(db.get(), "DELETE FROM history"); });
}

std::vector<std::string> HistoryStore::takeNotices() {
    return std::exchange(notices, {});
}

} // namespace veltro
