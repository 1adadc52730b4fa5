#include "Counters.h"

#include <condition_variable>
#include <fstream>
#include <mutex>

namespace veltro::testdriver {

namespace {

constexpr const char* counterNames[counterCount] = {
    "connects", "statements_allocated", "executions", "cancel_calls", "still_executing", "waits"};

std::array<std::atomic<long>, counterCount> processValues{};
std::mutex statsFileMutex;
// Wakes the threads that await a process value.
std::mutex changeMutex;
std::condition_variable changed;

size_t indexOf(Counter counter) {
    return static_cast<size_t>(counter);
}

} // namespace

void Counters::bump(Counter counter) {
    values_[indexOf(counter)].fetch_add(1);
    {
        std::lock_guard lock(changeMutex);
        processValues[indexOf(counter)].fetch_add(1);
    }
    changed.notify_all();
    if (!statsFile_.empty())
        writeStatsFile();
}

bool Counters::awaitProcess(Counter counter, long atLeast, std::chrono::milliseconds limit) {
    std::unique_lock lock(changeMutex);
    return changed.wait_for(lock, limit,
                            [&] { return processValues[indexOf(counter)].load() >= atLeast; });
}

std::optional<Counter> Counters::byName(std::string_view name) {
    for (size_t i = 0; i < counterCount; ++i) {
        if (name == counterNames[i])
            return static_cast<Counter>(i);
    }
    return std::nullopt;
}

long Counters::connectionValue(Counter counter) const {
    return values_[indexOf(counter)].load();
}

long Counters::processValue(Counter counter) {
    return processValues[indexOf(counter)].load();
}

void Counters::resetProcess() {
    for (auto& value : processValues)
        value.store(0);
}

const char* Counters::nameOf(Counter counter) {
    return counterNames[indexOf(counter)];
}

void Counters::writeStatsFile() const {
    // Serialised so two connections never interleave their lines in the file.
    std::lock_guard lock(statsFileMutex);
    std::ofstream out(statsFile_, std::ios::trunc);
    for (size_t i = 0; i < counterCount; ++i)
        out << counterNames[i] << '=' << processValues[i].load() << '\n';
}

} // namespace veltro::testdriver
