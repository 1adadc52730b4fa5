#pragma once

#include "history/HistoryEntry.h"

#include <memory>
#include <string>
#include <vector>

struct sqlite3;

namespace veltro {

// What the History window asks for: entries whose text holds the words (without regard to
// case), of one data source when one is named, newest first.
struct HistoryFilter {
    std::string text;
    std::string dataSource;
    int limit = 1000;
};

// The query history in an SQLite database file. A file that cannot serve as the history
// (corrupt, not a database, locked by another program past the wait) is renamed aside with
// a suffix and a new one started; notices() says so. Failures beyond that throw AppError.
// Used from one thread at a time.
class HistoryStore {
public:
    explicit HistoryStore(std::string path);
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    // Keeps at most keep entries, dropping the oldest.
    void add(const HistoryEntry& entry, int keep);
    std::vector<HistoryEntry> find(const HistoryFilter& filter);
    std::vector<std::string> dataSources();
    void clear();

    // What was set aside since the last call, as texts for the user.
    std::vector<std::string> takeNotices();

private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };

    void open();
    void setAside(const std::string& why);
    // Runs the step; a file found unusable on the way is set aside and the step run once
    // more on the new file.
    template <typename Step> auto withRecovery(Step step);

    std::string path;
    std::unique_ptr<sqlite3, Closer> db;
    std::vector<std::string> notices;
};

} // namespace veltro
