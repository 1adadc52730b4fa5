#pragma once

#include <string>

namespace veltro {

class CRecordsetEx;
class Session;
class WorkerHost;
struct WorkerContext;

// The worker of an object-text batch: gathers the first column of every row into the
// session's text buffer, with no grids, and ends by posting 0x1402.
class TextFetchWorker {
public:
    TextFetchWorker(WorkerContext& context, WorkerHost& host);

    int run();

private:
    void fetch();
    void appendColumnZero();
    bool isCancelled() const;

    WorkerContext& context;
    Session& session;
    CRecordsetEx& recordset;
    WorkerHost& host;
    bool errorFlag = false;
    std::string value;
};

} // namespace veltro
