#pragma once

#include <sql.h>

#include <chrono>
#include <thread>

namespace veltro {

// Between two polls of a call the driver runs in the background: yield first, then back off
// a little, so that the driver's own work is not starved by the polling.
inline void pauseBeforeNextPoll(int attempt) {
    if (attempt < 16) {
        std::this_thread::yield();
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// Repeats an ODBC call for as long as the driver answers SQL_STILL_EXECUTING.
template <typename Call> SQLRETURN callUntilDone(Call&& call) {
    SQLRETURN rc = call();
    for (int attempt = 0; rc == SQL_STILL_EXECUTING; ++attempt) {
        pauseBeforeNextPoll(attempt);
        rc = call();
    }
    return rc;
}

} // namespace veltro
