#pragma once

#include "execution/ExecutionControl.h"
#include "execution/LoopWorkerHost.h"
#include "execution/MessageLoop.h"
#include "session/Session.h"

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

    // The window is gone: stop showing anything, cancel a running batch and take no more of
    // its messages. Never waits: with no thread running the connection closes now, otherwise
    // when the last thread lets the runtime go.
    void shutdown();

    Session session;
    MessageLoop loop;
    LoopWorkerHost workerHost;
    ExecutionControl control;
};

} // namespace veltro
