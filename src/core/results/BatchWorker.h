#pragma once

#include "session/WorkerContext.h"

#include <memory>
#include <string>

namespace veltro {

class CRecordsetEx;
class ResultSink;
class WorkerHost;

// Runs one batch on the worker thread: every result set with columns becomes a grid that
// is filled row by row, row counts and error texts go to the session's messages, and the
// session window is told by messages what to create and when the batch ended. A cancel
// request on the recordset stops it.
class BatchWorker {
public:
    BatchWorker(WorkerContext context, WorkerHost& host);

    // The thread procedure; always ends by posting 0x1401.
    int run();

private:
    void processResult(bool firstResult);
    void fillHeader(int columnCount);
    void fillRow(int columnCount);
    int sendRows(int rows);
    void postInfoMessages();
    void postFetchedCount();
    bool isCancelled() const;
    void handleFailure();

    WorkerContext context;
    CRecordsetEx& recordset;
    WorkerHost& host;
    // The grid being filled: the one the session window made last.
    std::shared_ptr<ResultSink> grid;

    int rowIndex = 0;
    int capacity = 0;
    int gridRowCounter = 0;
    bool errorFlag = false;
};

} // namespace veltro
