#pragma once

#include "execution/WorkerContext.h"

#include <string>

namespace veltro {

class CRecordsetEx;
class WorkerHost;

// The worker of an object-text batch: gathers the first column of every row into a text,
// with no grids, and ends by posting 0x1402 with that text.
class TextFetchWorker {
public:
    TextFetchWorker(WorkerContext context, WorkerHost& host);

    int run();

private:
    void fetch();
    void appendColumnZero();
    bool isCancelled() const;

    WorkerContext context;
    CRecordsetEx& recordset;
    WorkerHost& host;
    bool errorFlag = false;
    std::string text;
};

} // namespace veltro
