#pragma once

#include "execution/WorkerHost.h"

#include <atomic>

namespace veltro {

class ExecutionControl;
class MessageLoop;

// Carries a worker's messages to the execution control through a message loop, so that
// every handler runs on the loop's thread as it would on a window's thread.
class LoopWorkerHost : public WorkerHost {
public:
    explicit LoopWorkerHost(MessageLoop& loop) : loop(loop) {}

    void attach(ExecutionControl& control) { this->control = &control; }
    // For a session without a window, before a batch starts: more rows have nothing to
    // show, so the notice is not carried (which would wake the loop's thread for nothing).
    void dropRowNotices() { rowNotices = false; }

    void postNewGrid(std::shared_ptr<ResultSink> grid) override;
    void postGridRows() override;
    void postMessage(std::string text) override;
    void postBatchDone(BatchEnd end) override;
    void postTextFetchDone(BatchEnd end, std::string text) override;
    void postCancelDone() override;
    void postThreadEnded() override;
    void postCurrentDatabase(std::string name) override;

private:
    MessageLoop& loop;
    ExecutionControl* control = nullptr;
    bool rowNotices = true;
    std::atomic<bool> rowNoticePending = false;
};

} // namespace veltro
