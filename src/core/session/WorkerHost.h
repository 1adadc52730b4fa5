#pragma once

namespace veltro {

// Message numbers between a worker and its session window, kept for tracing.
enum WorkerMessage : unsigned {
    messageBatchDone = 0x1401,
    messageTextFetchDone = 0x1402,
    messageCancelDone = 0x1403,
    messageNewGrid = 0x1404,
    messageGridRows = 0x1405,
};

// How a worker or cancel thread reaches its session window. The "send" calls return only
// once the window's thread has handled them; the "post" calls return at once.
class WorkerHost {
public:
    virtual ~WorkerHost() = default;

    // 0x1404: a new grid with that many columns; -1 when none could be made.
    virtual int sendNewGrid(int columnCount) = 0;
    // 0x1405: the current grid gets that many rows, header included; -1 on failure.
    virtual int sendGridRows(int rows, int cancelledValue) = 0;
    // 0x1401, 0x1402, 0x1403.
    virtual void postBatchDone(int errorFlag) = 0;
    virtual void postTextFetchDone(int errorFlag) = 0;
    virtual void postCancelDone() = 0;

    // The grid being filled grew: let the user see the progress.
    virtual void repaintCurrentGrid() {}
    // After a batch that may have switched the database (SQL Server family): read the
    // current database anew. Runs on the worker thread and handles its own errors.
    virtual void selectCurrentDatabase() {}
};

} // namespace veltro
