#pragma once

#include "history/HistoryEntry.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace veltro {

// What the History window asks for: entries whose text holds the search text as one piece
// anywhere (without regard to the case of the letters A to Z), of one data source when one
// is named, newest first.
struct HistoryFilter {
    std::string text;
    std::string dataSource;
    int limit = 1000;
    // When not 0, each entry's text is only its preview (textPreview) of this many characters.
    std::size_t previewCharacters = 0;
};

// The query history in an SQLite database file. A file that cannot serve as the history
// (corrupt, not a database, locked by another program past the wait) is renamed aside, with
// its journal, to a name no other file has, and a new one started; takeNotices() says so.
// Failures beyond that throw AppError; when the file cannot be set aside, the history stays
// closed (usable() is false) rather than use it. Used from one thread at a time.
class HistoryStore {
public:
    explicit HistoryStore(std::string path);
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    // Keeps at most keep entries, dropping the oldest.
    void add(const HistoryEntry& entry, int keep);
    std::vector<HistoryEntry> find(const HistoryFilter& filter);
    // The whole text of an entry; nothing when it is no longer kept.
    std::optional<std::string> text(std::int64_t id);
    std::vector<std::string> dataSources();
    void clear();

    // What was set aside since the last call, as texts for the user.
    std::vector<std::string> takeNotices();
    bool usable() const { return db != nullptr; }

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
