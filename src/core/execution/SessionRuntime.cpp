#include "execution/SessionRuntime.h"

#include "odbc/CRecordsetEx.h"
#include "odbc/OdbcConnection.h"

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

void SessionRuntime::shutdown() {
    session.detachHost();
    // Cancels a running batch: its worker stops at its next call, or in the driver.
    control.detachView();
    loop.close();
    if (!control.threadsRunning()) {
        control.waitForThreads(std::chrono::milliseconds(0));
        session.batchRecordset.reset();
        session.connection->close();
    }
}

} // namespace veltro
