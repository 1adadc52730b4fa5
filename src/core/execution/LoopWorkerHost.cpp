#include "execution/LoopWorkerHost.h"

#include "execution/ExecutionControl.h"
#include "execution/MessageLoop.h"
#include "results/ResultSink.h"

namespace veltro {

void LoopWorkerHost::postNewGrid(std::shared_ptr<ResultSink> grid) {
    loop.post([this, grid = std::move(grid)]() mutable { control->onNewGrid(std::move(grid)); });
}

void LoopWorkerHost::postGridRows() {
    if (!rowNotices || rowNoticePending.exchange(true)) {
        return;
    }
    loop.post([this] {
        // Rows that come while this one is handled get a notice of their own.
        rowNoticePending = false;
        control->onGridRows();
    });
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

void LoopWorkerHost::postCurrentDatabase(std::string name) {
    loop.post([this, name = std::move(name)] { control->onCurrentDatabase(name); });
}

} // namespace veltro
