#include "session/LoopWorkerHost.h"

#include "session/ExecutionControl.h"
#include "session/MessageLoop.h"

namespace veltro {

int LoopWorkerHost::sendNewGrid(int columnCount) {
    return loop.send([this, columnCount] { return control->onNewGrid(columnCount); });
}

int LoopWorkerHost::sendGridRows(int rows, int) {
    return loop.send([this, rows] { return control->onGridRows(rows); });
}

void LoopWorkerHost::postBatchDone(int errorFlag) {
    loop.post([this, errorFlag] { control->CompleteBatch(errorFlag); });
}

void LoopWorkerHost::postTextFetchDone(int errorFlag) {
    loop.post([this, errorFlag] { control->onTextFetchDone(errorFlag); });
}

void LoopWorkerHost::postCancelDone() {
    loop.post([this] { control->onCancelDone(); });
}

void LoopWorkerHost::repaintCurrentGrid() {
    loop.post([this] { control->onRepaintGrid(); });
}

} // namespace veltro
