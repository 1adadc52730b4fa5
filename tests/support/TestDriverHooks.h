#pragma once

#include <dlfcn.h>

#include <string>

namespace veltro::test {

// The test driver's process-wide counters ("executions", "cancel_calls", "waits", ...),
// asked of the driver loaded in this process directly, so that neither a connection busy
// with a batch nor one of the test's own is needed for them.
template <typename Function> Function testDriverHook(const char* name) {
    // The driver manager loads the same file; opening it again gives the same library.
    static void* const library = dlopen(VELTRO_TESTDRIVER_PATH, RTLD_NOW);
    return library != nullptr ? reinterpret_cast<Function>(dlsym(library, name)) : nullptr;
}

inline long testDriverCounter(const std::string& counter) {
    const auto read = testDriverHook<long (*)(const char*)>("veltro_testdriver_counter");
    return read != nullptr ? read(counter.c_str()) : -1;
}

// Waits until the counter reaches atLeast (for at most 30 s); false when it did not.
inline bool awaitTestDriverCounter(const std::string& counter, long atLeast) {
    const auto await = testDriverHook<int (*)(const char*, long, int)>("veltro_testdriver_await");
    return await != nullptr && await(counter.c_str(), atLeast, 30000) == 1;
}

} // namespace veltro::test
