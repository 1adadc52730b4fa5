#pragma once

#include "session/WorkerHost.h"

namespace veltro {

class ExecutionControl;
class MessageLoop;

// Carries a worker's messages to the execution control through a message loop, so that
// every handler runs on the loop's thread as it would on a window's thread.
class LoopWorkerHost : public WorkerHost {
public:
    explicit LoopWorkerHost(MessageLoop& loop) : loop(loop) {}

    void attach(ExecutionControl& control) { this->control = &control; }
    // For a session without a window, before a batch starts: a repaint has nothing to
    // show, so it is not carried (which would wake the loop's thread for nothing).
    void dropRepaints() { repaints = false; }

    std::shared_ptr<ResultSink> sendNewGrid(int columnCount) override;
    int sendGridRows(int rows, int cancelledValue) override;
    void postMessage(std::string text) override;
    void postBatchDone(BatchEnd end) override;
    void postTextFetchDone(BatchEnd end, std::string text) override;
    void postCancelDone() override;
    void postThreadEnded() override;
    void repaintCurrentGrid() override;
    void postCurrentDatabase(std::string name) override;

private:
    MessageLoop& loop;
    ExecutionControl* control = nullptr;
    bool repaints = true;
};

} // namespace veltro
