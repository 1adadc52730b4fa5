#include "session/LoopWorkerHost.h"

#include "results/ResultSink.h"
#include "session/ExecutionControl.h"
#include "session/MessageLoop.h"

namespace veltro {

std::shared_ptr<ResultSink> LoopWorkerHost::sendNewGrid(int columnCount) {
    return loop.send<std::shared_ptr<ResultSink>>(
        [this, columnCount] { return control->onNewGrid(columnCount); });
}

int LoopWorkerHost::sendGridRows(int rows, int) {
    return loop.send<int>([this, rows] { return control->onGridRows(rows); });
}

void LoopWorkerHost::postMessage(std::string text) {
    loop.post([this, text = std::move(text)] { control->onMessage(text); });
}

void LoopWorkerHost::postBatchDone(BatchEnd end) {
    loop.post([this, end] { control->CompleteBatch(end); });
}

void LoopWorkerHost::postTextFetchDone(BatchEnd end, std::string text) {
    loop.post([this, end, text = std::move(text)]() mutable {
        control->onTextFetchDone(end, std::move(text));
    });
}

void LoopWorkerHost::postCancelDone() {
    loop.post([this] { control->onCancelDone(); });
}

void LoopWorkerHost::postThreadEnded() {
    // Nothing to do but wake whoever waits for the thread.
    loop.post([] {});
}

void LoopWorkerHost::repaintCurrentGrid() {
    if (repaints) {
        loop.post([this] { control->onRepaintGrid(); });
    }
}

void LoopWorkerHost::postCurrentDatabase(std::string name) {
    loop.post([this, name = std::move(name)] { control->onCurrentDatabase(name); });
}

} // namespace veltro
