#include "history/HistoryService.h"

#include "common/AppError.h"
#include "common/XdgFolders.h"

#include <filesystem>

namespace veltro {

HistoryService::HistoryService(std::string file, Notice report)
    : path(std::move(file)), notice(std::move(report)), worker([this] { run(); }) {}

HistoryService::~HistoryService() {
    {
        const std::lock_guard lock(mutex);
        stopping = true;
    }
    changed.notify_all();
    worker.join();
}

void HistoryService::post(Job job) {
    {
        const std::lock_guard lock(mutex);
        jobs.push_back(std::move(job));
    }
    changed.notify_all();
}

void HistoryService::record(HistoryEntry entry, int keep) {
    post([entry = std::move(entry), keep](HistoryStore& history) { history.add(entry, keep); });
}

void HistoryService::find(HistoryFilter filter, Found found) {
    post([filter = std::move(filter), found = std::move(found)](HistoryStore& history) {
        auto entries = history.find(filter);
        found(std::move(entries), history.dataSources());
    });
}

void HistoryService::loadText(std::int64_t id,
                              std::function<void(std::optional<std::string>)> loaded) {
    post([id, loaded = std::move(loaded)](HistoryStore& history) { loaded(history.text(id)); });
}

void HistoryService::clear(std::function<void()> done) {
    post([done = std::move(done)](HistoryStore& history) {
        history.clear();
        done();
    });
}

void HistoryService::waitIdle() {
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return jobs.empty() && !busy; });
}

// Opened on the history's thread at its first request; a history that cannot be opened, or
// whose unusable file cannot be set aside, is reported once and the requests do nothing.
HistoryStore* HistoryService::store() {
    if (!opened && !openFailed) {
        try {
            makeFolders(std::filesystem::path(path).parent_path().string(), 0700);
            opened = std::make_unique<HistoryStore>(path);
        } catch (const AppError& failure) {
            openFailed = true;
            notice(std::string("The query history cannot be kept: ") + failure.what());
        }
    }
    return opened.get();
}

void HistoryService::run() {
    std::unique_lock lock(mutex);
    while (true) {
        changed.wait(lock, [this] { return stopping || !jobs.empty(); });
        if (jobs.empty()) {
            return;
        }
        Job job = std::move(jobs.front());
        jobs.pop_front();
        busy = true;
        lock.unlock();
        if (HistoryStore* history = store()) {
            try {
                job(*history);
            } catch (const AppError& failure) {
                notice(std::string(history->usable() ? "The query history could not be updated: "
                                                     : "The query history cannot be kept: ") +
                       failure.what());
            }
            for (std::string& text : history->takeNotices()) {
                notice(std::move(text));
            }
            // A file that could not be set aside is left alone from now on.
            if (!history->usable()) {
                opened.reset();
                openFailed = true;
            }
        }
        lock.lock();
        busy = false;
        changed.notify_all();
    }
}

} // namespace veltro
