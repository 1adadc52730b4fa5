#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace veltro::testdriver {

// Waits: delays (ExecDelay, FetchDelay) begun, so that a test knows a call is in its delay.
enum class Counter {
    Connects,
    StatementsAllocated,
    Executions,
    CancelCalls,
    StillExecuting,
    Waits
};
inline constexpr size_t counterCount = 6;

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
    static std::optional<Counter> byName(std::string_view name);
    // Blocks until the process value reaches atLeast; false when the time ran out first.
    static bool awaitProcess(Counter counter, long atLeast, std::chrono::milliseconds limit);

private:
    void writeStatsFile() const;

    std::array<std::atomic<long>, counterCount> values_{};
    std::string statsFile_;
};

} // namespace veltro::testdriver
