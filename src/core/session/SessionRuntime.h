#pragma once

#include "session/ExecutionControl.h"
#include "session/LoopWorkerHost.h"
#include "session/MessageLoop.h"
#include "session/Session.h"

#include <chrono>
#include <memory>

namespace veltro {

class ExecutionView;
class SessionHost;
class SettingsStore;

// A session with everything its batches need: the record, the queue that carries the
// worker's messages to the owning thread, and the execution control. Shared, so that a
// worker or cancel thread that outlives its window keeps what it reads alive.
class SessionRuntime {
public:
    static std::shared_ptr<SessionRuntime> create(const SettingsStore& settings, SessionHost& host,
                                                  ExecutionView& view);

    SessionRuntime(const SettingsStore& settings, SessionHost& host, ExecutionView& view);
    SessionRuntime(const SessionRuntime&) = delete;
    SessionRuntime& operator=(const SessionRuntime&) = delete;

    // The window is gone: stop showing anything, cancel a running batch, wait for its
    // threads (each at most limitEach) while answering their messages, then close the
    // connection. False when a thread is still running; it finds no window from now on,
    // and the connection goes with the last owner.
    bool shutdown(std::chrono::milliseconds limitEach);

    Session session;
    MessageLoop loop;
    LoopWorkerHost workerHost;
    ExecutionControl control;
};

} // namespace veltro
