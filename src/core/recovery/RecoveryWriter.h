#pragma once

#include "recovery/RecoveryRecord.h"

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace veltro {

// Writes and removes recovery files on a thread of its own, so that the editor never waits
// for the disk. Each request carries its text by value; a newer request for the same file
// replaces one not yet carried out. Files are written atomically and created 0600.
class RecoveryWriter {
public:
    // Called on the writer's thread with the text of each failure.
    using FailureReport = std::function<void(std::string)>;

    explicit RecoveryWriter(FailureReport report);
    // Carries out what is still queued, then ends the thread.
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    // The record with the editor's text (UTF-8) as its bytes, in the record's encoding; as
    // UTF-8 when that encoding cannot hold the text.
    void save(const std::string& path, RecoveryRecord record, std::string text);
    void remove(const std::string& path);
    // Returns once every request made so far is carried out.
    void waitIdle();

private:
    void run();

    FailureReport failed;
    std::mutex mutex;
    std::condition_variable changed;
    // Per file: the record to write, or nothing to remove it.
    std::map<std::string, std::optional<RecoveryRecord>> pending;
    bool busy = false;
    bool stopping = false;
    std::thread worker;
};

} // namespace veltro
