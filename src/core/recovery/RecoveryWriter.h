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
// replaces one not yet carried out. Files are written atomically and created 0600; a text
// too large for a recovery file is reported and its earlier file, if any, kept.
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
    // A string whose memory a written text left, for the next text: a large text copied
    // into fresh memory costs its page faults on the caller's thread (90 ms for 18 MB here),
    // into this one almost nothing. Empty when there is none.
    std::string takeBuffer();
    // Has the writer's thread make such memory ready for a text of that size, so that not
    // even the first copy costs the caller its page faults.
    void prepareBuffer(std::size_t size);
    // Returns once every request made so far is carried out.
    void waitIdle();

private:
    void run();

    FailureReport failed;
    std::mutex mutex;
    std::condition_variable changed;
    // Per file: the record to write, or nothing to remove it.
    std::map<std::string, std::optional<RecoveryRecord>> pending;
    std::string spare;
    std::size_t wanted = 0;
    // The spare memory is out with a text: none is made until it is back.
    bool lent = false;
    bool busy = false;
    bool stopping = false;
    std::thread worker;
};

} // namespace veltro
