#include "odbc/CancelScope.h"

#include "odbc/OdbcCall.h"

#include <algorithm>

namespace veltro {

namespace {

constexpr auto firstRepeat = std::chrono::milliseconds(50);
constexpr auto longestRepeat = std::chrono::milliseconds(800);

} // namespace

void CancelScope::setHandle(SQLHSTMT statement) {
    std::lock_guard lock(mutex);
    handle = statement;
}

std::uint64_t CancelScope::renew() {
    std::uint64_t next = 0;
    {
        std::lock_guard lock(mutex);
        flag = false;
        next = ++ticket;
    }
    renewed.notify_all();
    return next;
}

void CancelScope::cancelRunningCall() {
    if ((callState.load() & 1) == 0 || handle == SQL_NULL_HSTMT) {
        // Between calls: the next one sees the request.
        return;
    }
    // A refused cancel leaves the call to end by itself; the request still stops the next.
    ignoreFailure(SQLCancel(handle));
}

void CancelScope::cancelWhilePolling() {
    std::lock_guard lock(mutex);
    // A driver running a call in the background takes the cancel from the polling thread;
    // refused, the call is polled to its own end.
    if (handle != SQL_NULL_HSTMT) {
        ignoreFailure(SQLCancel(handle));
    }
}

void CancelScope::request(std::uint64_t scopeTicket, bool callDriver) {
    std::lock_guard lock(mutex);
    if (scopeTicket != ticket) {
        return;
    }
    flag = true;
    if (callDriver) {
        cancelRunningCall();
    }
}

void CancelScope::repeat(std::uint64_t scopeTicket, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::unique_lock lock(mutex);
    // A driver answers a cancel it has seen within milliseconds: only a call that goes on
    // after a pause is asked again, less often as time passes.
    for (auto pause = firstRepeat; std::chrono::steady_clock::now() < deadline;
         pause = std::min(pause * 2, longestRepeat)) {
        const auto wakeAt = std::min(deadline, std::chrono::steady_clock::now() + pause);
        if (renewed.wait_until(lock, wakeAt, [&] { return scopeTicket != ticket; })) {
            return;
        }
        if ((callState.load() & 1) == 0) {
            return;
        }
        cancelRunningCall();
    }
}

} // namespace veltro
