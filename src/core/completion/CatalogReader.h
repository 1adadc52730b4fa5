#pragma once

#include "catalog/NameQuoting.h"
#include "completion/NameCache.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace veltro {

class OdbcConnection;

// What a read of the catalog's names gives. A driver without a catalog function gives no
// such names and no error.
struct CatalogNames {
    std::uint64_t generation = 0;
    NameQuoting quoting = NameQuoting::forDataSource(false, false, "\"");
    std::vector<CatalogName> tables;
    std::vector<CatalogName> procedures;
    std::vector<std::string> keywords;
    std::string errorText;
};

struct CatalogColumns {
    std::uint64_t generation = 0;
    CatalogName table;
    std::vector<std::string> columns;
    std::string errorText;
};

// Reads the catalog for completion on a thread and a connection of its own, opened with
// the session's connect string on first use, so that a batch running on the session is
// neither waited for nor disturbed. Requests are served in order; each result goes to the
// callback on the reader's thread, which hands it on by value.
class CatalogReader {
public:
    struct Source {
        std::string connectString;
        bool isSqlServerFamily = false;
        bool isJetDriver = false;
        int loginTimeout = 0;
    };
    using NamesReady = std::function<void(CatalogNames)>;
    using ColumnsReady = std::function<void(CatalogColumns)>;

    CatalogReader(Source source, NamesReady namesReady, ColumnsReady columnsReady);
    // Stops after the read under way, which ends at its next row.
    ~CatalogReader();
    CatalogReader(const CatalogReader&) = delete;
    CatalogReader& operator=(const CatalogReader&) = delete;

    void readNames(std::uint64_t generation);
    void readColumns(std::uint64_t generation, const CatalogName& table);

private:
    struct Request {
        std::uint64_t generation = 0;
        std::optional<CatalogName> columnsOf;
    };
    void post(Request request);
    void run();
    OdbcConnection& connection();
    CatalogNames names(std::uint64_t generation);
    CatalogColumns columnsOf(std::uint64_t generation, const CatalogName& table);
    bool stopRequested() const { return stopping; }

    Source source;
    NamesReady namesReady;
    ColumnsReady columnsReady;
    // Used by the reader's thread alone.
    std::shared_ptr<OdbcConnection> catalogConnection;

    std::mutex lock;
    std::condition_variable wake;
    std::deque<Request> requests;
    std::atomic<bool> stopping = false;
    std::thread thread;
};

} // namespace veltro
