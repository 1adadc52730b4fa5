#pragma once

#include <array>
#include <atomic>
#include <string>

namespace veltro::testdriver {

enum class Counter { Connects, StatementsAllocated, Executions, CancelCalls, StillExecuting };
inline constexpr size_t counterCount = 5;

// Call counts of one connection, also summed for the whole process, so tests can
// check what a program did (e.g. that it never called SQLCancel).
class Counters {
public:
    explicit Counters(std::string statsFile = {}) : statsFile_(std::move(statsFile)) {}

    void bump(Counter counter);
    long connectionValue(Counter counter) const;
    static long processValue(Counter counter);
    static void resetProcess();
    static const char* nameOf(Counter counter);

private:
    void writeStatsFile() const;

    std::array<std::atomic<long>, counterCount> values_{};
    std::string statsFile_;
};

} // namespace veltro::testdriver
