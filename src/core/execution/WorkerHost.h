#pragma once

#include "execution/WorkerContext.h"

#include <memory>
#include <string>

namespace veltro {

class ResultSink;

// Message numbers between a worker and its session window, kept for tracing.
enum WorkerMessage : unsigned {
    messageBatchDone = 0x1401,
    messageTextFetchDone = 0x1402,
    messageCancelDone = 0x1403,
    messageNewGrid = 0x1404,
    messageGridRows = 0x1405,
};

// How a worker or cancel thread reaches its session window. Everything is posted: the
// calls return at once, and arrive on the window's thread in the order they were posted. A
// worker never waits for the window; a window that goes away stops it through its cancel
// request. The one thing shared is a result grid, which the worker makes and fills under
// the grid's own lock while the window shows it.
// The defaults drop everything, which is all a test of the window's side needs.
class WorkerHost {
public:
    virtual ~WorkerHost() = default;

    // 0x1404: a new result set, in the grid the worker fills from now on.
    virtual void postNewGrid(std::shared_ptr<ResultSink> grid) { (void)grid; }
    // 0x1405: the grid being filled has more rows. Notices that find one still on its way
    // are dropped: the window reads the grid's row count when it handles the notice.
    virtual void postGridRows() {}
    // A text for the session's messages (a row count, an error), appended on arrival.
    virtual void postMessage(std::string text) { (void)text; }
    // 0x1401, and 0x1402 with the text gathered.
    virtual void postBatchDone(BatchEnd end) { (void)end; }
    virtual void postTextFetchDone(BatchEnd end, std::string text) {
        (void)end;
        (void)text;
    }
    // 0x1403.
    virtual void postCancelDone() {}
    // A worker or cancel thread has ended (its last act).
    virtual void postThreadEnded() {}
    // After a batch that may have switched the database (SQL Server family), the current
    // database as the worker read it from the server.
    virtual void postCurrentDatabase(std::string name) { (void)name; }
};

} // namespace veltro
