// What a test in the same process may ask the driver directly, without a connection of its
// own: its process-wide counters, and to wait until one reaches a value.
#include "Counters.h"

using veltro::testdriver::Counters;

extern "C" {

// The counter's process value; -1 for an unknown name.
long veltro_testdriver_counter(const char* name) {
    const auto counter = Counters::byName(name);
    return counter ? Counters::processValue(*counter) : -1;
}

// 1 once the counter's process value is at least atLeast, 0 when timeoutMs ran out first
// or the name is unknown.
int veltro_testdriver_await(const char* name, long atLeast, int timeoutMs) {
    const auto counter = Counters::byName(name);
    return counter &&
                   Counters::awaitProcess(*counter, atLeast, std::chrono::milliseconds(timeoutMs))
               ? 1
               : 0;
}

} // extern "C"
