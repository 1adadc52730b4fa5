#include "session/SessionRuntime.h"

#include "odbc/OdbcConnection.h"
#include "results/CRecordsetEx.h"

namespace veltro {

std::shared_ptr<SessionRuntime> SessionRuntime::create(const SettingsStore& settings,
                                                       SessionHost& host, ExecutionView& view) {
    auto runtime = std::make_shared<SessionRuntime>(settings, host, view);
    runtime->control.setKeepAlive(runtime);
    return runtime;
}

SessionRuntime::SessionRuntime(const SettingsStore& settings, SessionHost& host,
                               ExecutionView& view)
    : session(settings, host), workerHost(loop), control(session, view, workerHost) {
    workerHost.attach(control);
}

bool SessionRuntime::shutdown(std::chrono::milliseconds limitEach) {
    session.detachHost();
    // Cancels a running batch: its worker stops at its next call, or in the driver.
    control.detachView();
    // A worker may be waiting for an answer to a grid message: keep answering until both
    // threads have ended, or there is no more time.
    const auto deadline = std::chrono::steady_clock::now() + 2 * limitEach;
    loop.runUntil([this] { return !control.threadsRunning(); }, deadline);
    loop.close();
    if (control.threadsRunning()) {
        return false;
    }
    control.waitForThreads(limitEach);
    session.batchRecordset.reset();
    session.connection->close();
    return true;
}

} // namespace veltro
