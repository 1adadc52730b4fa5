#pragma once

#include "execution/StatementSplitter.h"
#include "execution/WorkerContext.h"
#include "results/RowCells.h"

#include <memory>
#include <string>
#include <vector>

namespace veltro {

class CRecordsetEx;
class ResultSink;
class WorkerHost;

// Runs one batch on the worker thread: every result set with columns becomes a grid that
// the worker makes and fills row by row, row counts and error texts go to the session's
// messages, and the session window is told by messages what there is to show and when the
// batch ended. It never waits for the window. A cancel request on the recordset stops it.
// Outside the SQL Server family and Sybase the batch's statements go one after another, each
// one's results taken as further results of the batch, and the first that fails ends the
// batch.
class BatchWorker {
public:
    BatchWorker(WorkerContext context, WorkerHost& host);

    // The thread procedure; always ends by posting 0x1401.
    int run();

private:
    void runBatch();
    bool nextResult();
    std::string statementText(std::size_t index) const;
    void processResult(bool firstResult);
    void fillHeader(int columnCount);
    void fillRow(int columnCount);
    // Gives the grid that many rows, header included, and tells the window.
    bool setRows(int rows);
    void postInfoMessages();
    void postFetchedCount();
    bool isCancelled() const;
    void handleFailure();

    WorkerContext context;
    CRecordsetEx& recordset;
    WorkerHost& host;
    // The grid being filled, and the row on its way there.
    std::shared_ptr<ResultSink> grid;
    RowCells rowCells;

    // Statement by statement unless the DBMS takes the batch whole: the statements, and the
    // one running.
    bool wholeBatch = false;
    std::vector<SqlStatement> statements;
    std::size_t statementIndex = 0;
    int failedStatementLine = 0;

    int rowIndex = 0;
    int capacity = 0;
    int gridRowCounter = 0;
    bool errorFlag = false;
};

} // namespace veltro
