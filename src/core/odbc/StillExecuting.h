#pragma once

#include <sql.h>

#include <chrono>
#include <thread>

namespace veltro {

// Repeats an ODBC call for as long as the driver answers SQL_STILL_EXECUTING.
template <typename Call> SQLRETURN callUntilDone(Call&& call) {
    SQLRETURN rc = call();
    for (int attempt = 0; rc == SQL_STILL_EXECUTING; ++attempt) {
        // Yield first, then back off a little, so that a driver working in the
        // background is not starved by our polling.
        if (attempt < 16) {
            std::this_thread::yield();
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        rc = call();
    }
    return rc;
}

} // namespace veltro
