#pragma once

#include <string>

namespace veltro {

class CRecordsetEx;
class GridStore;
class Session;
class WorkerHost;
struct WorkerContext;

// Runs one batch on the worker thread: every result set with columns becomes a grid that
// is filled row by row, row counts and error texts go into the session's message text,
// and the session window is told by messages what to create and when the batch ended.
class BatchWorker {
public:
    BatchWorker(WorkerContext& context, WorkerHost& host);

    // The thread procedure; always ends by posting 0x1401.
    int run();

private:
    void processResult(bool firstResult);
    void fillHeader(GridStore& grid, int columnCount);
    int sendRows(int rows);
    void appendFetchedCount();
    bool isCancelled() const;
    void handleFailure();

    WorkerContext& context;
    Session& session;
    CRecordsetEx& recordset;
    WorkerHost& host;

    int rowIndex = 0;
    int capacity = 0;
    int gridRowCounter = 0;
    bool errorFlag = false;
    std::string value;
};

} // namespace veltro
