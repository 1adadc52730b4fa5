#include "session/ExecutionView.h"

#include "results/GridStore.h"

namespace veltro {

std::shared_ptr<ResultSink> ExecutionView::createResultSink() {
    return std::make_shared<GridStore>();
}

} // namespace veltro
