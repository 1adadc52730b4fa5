#include "session/SessionRuntime.h"

#include "odbc/OdbcConnection.h"
#include "results/CRecordsetEx.h"

#include <thread>

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
    control.detachView();
    session.detachHost();
    // A worker may be waiting for an answer to a grid message: keep answering while
    // waiting, or it could never see that it was cancelled.
    const auto deadline = std::chrono::steady_clock::now() + 2 * limitEach;
    while (control.threadsRunning() && std::chrono::steady_clock::now() < deadline) {
        loop.drain();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    loop.drain();
    if (control.threadsRunning()) {
        return false;
    }
    control.waitForThreads(limitEach);
    session.batchRecordset.reset();
    session.connection->close();
    return true;
}

} // namespace veltro
