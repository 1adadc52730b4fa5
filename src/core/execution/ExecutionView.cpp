#include "execution/ExecutionView.h"

#include "results/GridStore.h"

namespace veltro {

ResultSinkMaker ExecutionView::resultSinkMaker() {
    return [] { return std::make_shared<GridStore>(); };
}

} // namespace veltro
