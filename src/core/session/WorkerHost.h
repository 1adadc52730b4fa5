#pragma once

#include "session/WorkerContext.h"

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

// How a worker or cancel thread reaches its session window. Everything travels by value;
// the one thing shared is a result grid, which the window makes and the worker fills. The
// "send" calls return only once the window's thread has handled them; the "post" calls
// return at once, and arrive in the order they were posted.
class WorkerHost {
public:
    virtual ~WorkerHost() = default;

    // 0x1404: a new grid with that many columns, for the worker to fill; null when none
    // could be made or the window is gone.
    virtual std::shared_ptr<ResultSink> sendNewGrid(int columnCount) = 0;
    // 0x1405: the grid being filled gets that many rows, header included; -1 on failure.
    virtual int sendGridRows(int rows, int cancelledValue) = 0;
    // A text for the session's messages (a row count, an error), appended on arrival.
    virtual void postMessage(std::string text) = 0;
    // 0x1401, and 0x1402 with the text gathered.
    virtual void postBatchDone(BatchEnd end) = 0;
    virtual void postTextFetchDone(BatchEnd end, std::string text) = 0;
    // 0x1403.
    virtual void postCancelDone() = 0;
    // A worker or cancel thread has ended (its last act).
    virtual void postThreadEnded() {}

    // The grid being filled grew: let the user see the progress.
    virtual void repaintCurrentGrid() {}
    // After a batch that may have switched the database (SQL Server family), the current
    // database as the worker read it from the server.
    virtual void postCurrentDatabase(std::string name) { (void)name; }
};

} // namespace veltro
