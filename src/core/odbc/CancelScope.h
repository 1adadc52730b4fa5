#pragma once

#include "odbc/StillExecuting.h"

#include <sql.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <utility>

namespace veltro {

// Thrown by a statement call that a cancel request stopped before it reached the driver.
class StatementCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "The statement was cancelled."; }
};

// Lets any thread cancel the calls that one thread makes on a statement handle. A request is
// sticky for the scope it was made in: once made, the next call throws StatementCancelled
// instead of reaching the driver, and a call already running is cancelled in the driver
// (SQLCancel), so that a cancel at any instant takes effect.
class CancelScope {
public:
    // The handle a cancel reaches: set by the handle's user once it is allocated, and
    // cleared before it is freed, so that no cancel reaches a freed handle.
    void setHandle(SQLHSTMT statement);

    // Starts a new scope: forgets any request of an earlier one and ends a repeat waiting
    // for it. Returns the scope's ticket, which a cancel request must present.
    std::uint64_t renew();
    // From any thread: stops the user at its next call and, with callDriver, cancels the
    // call it is in. A request for a scope that has ended changes nothing.
    void request(std::uint64_t ticket, bool callDriver);
    // After a request with callDriver: a driver may miss a cancel that arrives just as a call
    // starts, so ask again while the user stays in a call, for at most limit. Returns as soon
    // as the user is between calls or the scope has ended.
    void repeat(std::uint64_t ticket, std::chrono::milliseconds limit);
    bool requested() const { return flag.load(); }

    // Runs a statement call, repeated while the driver answers SQL_STILL_EXECUTING, unless a
    // cancel was requested. A request that comes while the driver is still executing is
    // passed on to it once, and the call is polled to its end.
    template <typename Call> SQLRETURN call(Call&& statementCall);

private:
    // With mutex held.
    void cancelRunningCall();
    void cancelWhilePolling();

    std::mutex mutex;
    std::condition_variable renewed;
    SQLHSTMT handle = SQL_NULL_HSTMT;
    std::atomic<bool> flag = false;
    std::atomic<std::uint64_t> ticket = 0;
    // Odd while a call runs; every call moves it on by two.
    std::atomic<std::uint64_t> callState = 0;
};

template <typename Call> SQLRETURN CancelScope::call(Call&& statementCall) {
    // Only the scope's user writes callState. Marking the call running and reading the
    // request are sequentially consistent, as request()'s setting of the flag and reading of
    // callState are: either this sees the request, or request() sees this call running and
    // cancels it in the driver. Marking the end needs no such order, so that a call costs
    // one fully ordered store.
    const std::uint64_t before = callState.load(std::memory_order_relaxed);
    callState.store(before + 1);
    struct EndMark {
        std::atomic<std::uint64_t>& state;
        std::uint64_t value;
        ~EndMark() { state.store(value, std::memory_order_release); }
    } end{callState, before + 2};
    if (flag.load()) {
        throw StatementCancelled();
    }
    SQLRETURN rc = statementCall();
    bool passedOn = false;
    for (int attempt = 0; rc == SQL_STILL_EXECUTING; ++attempt) {
        if (!passedOn && flag.load()) {
            passedOn = true;
            cancelWhilePolling();
        }
        pauseBeforeNextPoll(attempt);
        rc = statementCall();
    }
    return rc;
}

} // namespace veltro
