#include "recovery/RecoveryWriter.h"

#include "common/AtomicFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace veltro {

RecoveryWriter::RecoveryWriter(FailureReport report)
    : failed(std::move(report)), worker([this] { run(); }) {}

RecoveryWriter::~RecoveryWriter() {
    {
        const std::lock_guard lock(mutex);
        stopping = true;
    }
    changed.notify_all();
    worker.join();
}

void RecoveryWriter::save(const std::string& path, RecoveryRecord record, std::string text) {
    record.bytes = std::move(text);
    {
        const std::lock_guard lock(mutex);
        pending[path] = std::move(record);
    }
    changed.notify_all();
}

void RecoveryWriter::remove(const std::string& path) {
    {
        const std::lock_guard lock(mutex);
        pending[path] = std::nullopt;
    }
    changed.notify_all();
}

std::string RecoveryWriter::takeBuffer() {
    const std::lock_guard lock(mutex);
    lent = true;
    return std::exchange(spare, {});
}

void RecoveryWriter::prepareBuffer(std::size_t size) {
    {
        const std::lock_guard lock(mutex);
        if (lent || size <= spare.capacity()) {
            return;
        }
        wanted = size;
    }
    changed.notify_all();
}

void RecoveryWriter::waitIdle() {
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return pending.empty() && !busy; });
}

void RecoveryWriter::run() {
    std::unique_lock lock(mutex);
    while (true) {
        changed.wait(lock, [this] { return stopping || !pending.empty() || wanted != 0; });
        if (wanted != 0 && pending.empty() && !stopping) {
            const std::size_t size = std::exchange(wanted, 0);
            lock.unlock();
            std::string buffer(size, '\0'); // written, so its pages are there
            lock.lock();
            if (buffer.capacity() > spare.capacity()) {
                spare = std::move(buffer);
            }
            continue;
        }
        if (pending.empty()) {
            return; // stopping, with nothing left to do
        }
        auto request = pending.extract(pending.begin());
        busy = true;
        lock.unlock();
        const std::string& path = request.key();
        std::string failure;
        if (!request.mapped()) {
            if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
                failure = path + ": " + std::strerror(errno);
            }
        } else {
            RecoveryRecord& record = *request.mapped();
            if (record.encoding == QueryFileEncoding::latin1) {
                if (auto bytes = encodeQueryText(record.bytes, QueryFileEncoding::latin1)) {
                    record.bytes = std::move(*bytes);
                } else {
                    record.encoding = QueryFileEncoding::utf8;
                }
            }
            const std::string data = formatRecoveryRecord(record);
            if (data.size() > maxRecoveryFileBytes) {
                // Such a file would never be read back.
                failure = path + ": more than " + std::to_string(maxQueryFileBytes >> 20) +
                          " MB, too large to keep";
            } else {
                writeFileAtomically(
                    path,
                    [&data](std::FILE* file) {
                        // Only the user may read unsaved work.
                        return ::fchmod(fileno(file), 0600) == 0 &&
                               std::fwrite(data.data(), 1, data.size(), file) == data.size();
                    },
                    failure);
            }
        }
        if (!failure.empty()) {
            failed(failure);
        }
        lock.lock();
        if (request.mapped()) {
            if (request.mapped()->bytes.capacity() > spare.capacity()) {
                spare = std::move(request.mapped()->bytes);
            }
            lent = false;
        }
        busy = false;
        changed.notify_all();
    }
}

} // namespace veltro
