#pragma once

#include <memory>
#include <string>
#include <vector>

namespace veltro {

class ResultSink;

enum class BatchPhase {
    idle,
    running,
    // The user asked to stop; the worker has not ended yet.
    cancelling,
    // The window is gone; the worker still runs and is being cancelled.
    closing,
};

// What a batch produces: grids (and messages), or the text of a database object.
enum class BatchOutput { grids, text };

// What the window does once a cancel has stopped the batch, strongest first.
enum class PendingClose { none, window, allSessions, application };

// The current batch as the session window knows it: its phase, what it produced so far
// and which grid is on show. Owned by ExecutionControl on the window's thread.
struct BatchState {
    BatchPhase phase = BatchPhase::idle;
    PendingClose pendingClose = PendingClose::none;
    // Object text is read into textBuffer instead of grids.
    bool textMode = false;
    // The worker stopped for a cancel, or no cancel thread could be started.
    bool cancelled = false;
    std::string messageBuffer;
    std::string textBuffer;
    std::vector<std::shared_ptr<ResultSink>> gridList;
    int currentGridNumber = 0;

    bool executing() const { return phase != BatchPhase::idle; }
    bool cancelRequested() const {
        return phase == BatchPhase::cancelling || phase == BatchPhase::closing;
    }
    int gridCount() const { return static_cast<int>(gridList.size()); }
};

} // namespace veltro
