#pragma once

#include <memory>
#include <string>

namespace veltro {

class GridStore;
class Session;

// What a worker thread is handed: the batch, its session, and the grid it fills. The grid
// is set by the session window's thread while the worker waits for a new grid.
struct WorkerContext {
    std::string batchText;
    Session* session = nullptr;
    std::shared_ptr<GridStore> grid;
};

} // namespace veltro
