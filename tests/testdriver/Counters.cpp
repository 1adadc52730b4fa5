#include "Counters.h"

#include <fstream>
#include <mutex>

namespace veltro::testdriver {

namespace {

constexpr const char* counterNames[counterCount] = {
    "connects", "statements_allocated", "executions", "cancel_calls", "still_executing"};

std::array<std::atomic<long>, counterCount> processValues{};
std::mutex statsFileMutex;

size_t indexOf(Counter counter) {
    return static_cast<size_t>(counter);
}

} // namespace

void Counters::bump(Counter counter) {
    values_[indexOf(counter)].fetch_add(1);
    processValues[indexOf(counter)].fetch_add(1);
    if (!statsFile_.empty())
        writeStatsFile();
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
