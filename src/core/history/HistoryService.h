#pragma once

#include "history/HistoryStore.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace veltro {

// The query history on a thread of its own: nothing the window does waits for the disk.
// Requests are carried out in order; answers and notices are called on the history's
// thread with their data by value, for the caller to hand over to its own thread.
class HistoryService {
public:
    // Told of a history file set aside, or of a history that cannot be kept at all.
    using Notice = std::function<void(std::string)>;
    using Found = std::function<void(std::vector<HistoryEntry>, std::vector<std::string>)>;

    HistoryService(std::string path, Notice notice);
    // Carries out what is still queued, then ends the thread.
    ~HistoryService();
    HistoryService(const HistoryService&) = delete;
    HistoryService& operator=(const HistoryService&) = delete;

    // Keeps at most keep entries.
    void record(HistoryEntry entry, int keep);
    // The entries the filter asks for and every data source name in the history.
    void find(HistoryFilter filter, Found found);
    // The whole text of an entry, or nothing when it is no longer kept.
    void loadText(std::int64_t id, std::function<void(std::optional<std::string>)> loaded);
    void clear(std::function<void()> done);
    // Returns once every request made so far is carried out.
    void waitIdle();

private:
    using Job = std::function<void(HistoryStore&)>;
    void post(Job job);
    void run();
    HistoryStore* store();

    std::string path;
    Notice notice;
    std::unique_ptr<HistoryStore> opened;
    bool openFailed = false;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Job> jobs;
    bool busy = false;
    bool stopping = false;
    std::thread worker;
};

} // namespace veltro
