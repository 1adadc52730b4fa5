#pragma once

#include <memory>
#include <string>

namespace veltro {

class CRecordsetEx;

// Everything a worker thread reads, handed to it by value when the batch starts: the batch
// text, the recordset to run it on, and what the driver can do. The worker touches nothing
// of the session besides; what it produces goes back through its WorkerHost.
struct WorkerContext {
    std::string batchText;
    // The editor's line on which the batch text begins (a selection starts anywhere).
    int firstLine = 1;
    std::shared_ptr<CRecordsetEx> recordset;
    bool supportsMultipleResults = false;
    bool supportsRowCount = false;
    bool isSqlServerFamily = false;
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
