#pragma once

#include <functional>
#include <memory>
#include <string>

namespace veltro {

class CRecordsetEx;
class ResultSink;

using ResultSinkMaker = std::function<std::shared_ptr<ResultSink>()>;

// Everything a worker thread reads, handed to it by value when the batch starts: the batch
// text, the recordset to run it on, what the driver can do, and where result sets go. The worker
// touches nothing of the session besides; what it produces goes back through its WorkerHost.
struct WorkerContext {
    std::string batchText;
    // The editor's line on which the batch text begins (a selection starts anywhere).
    int firstLine = 1;
    std::shared_ptr<CRecordsetEx> recordset;
    // SQL_DBMS_NAME: whether the batch goes whole, and how its text splits into statements.
    std::string dbmsName;
    bool supportsMultipleResults = false;
    bool supportsRowCount = false;
    bool isSqlServerFamily = false;
    // Makes the sink of each result set, on the worker's thread.
    ResultSinkMaker newResultSink;
};

// How a worker ended, handed over with its completion message.
struct BatchEnd {
    int errorFlag = 0;
    // The worker saw a cancel request: it stopped early, or dropped the errors it met.
    bool cancelled = false;
    // A batch run statement by statement that an error ended: the 1-based line, in the batch
    // text, where the failing statement begins; 0 otherwise.
    int failedStatementLine = 0;
};

} // namespace veltro
