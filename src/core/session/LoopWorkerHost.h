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

    int sendNewGrid(int columnCount) override;
    int sendGridRows(int rows, int cancelledValue) override;
    void postBatchDone(int errorFlag) override;
    void postTextFetchDone(int errorFlag) override;
    void postCancelDone() override;
    void repaintCurrentGrid() override;

private:
    MessageLoop& loop;
    ExecutionControl* control = nullptr;
};

} // namespace veltro
