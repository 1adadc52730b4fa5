#include "results/WorkerSupport.h"

#include "results/CRecordsetEx.h"
#include "session/BatchText.h"
#include "session/DatabaseSql.h"
#include "session/WorkerContext.h"
#include "session/WorkerHost.h"

namespace veltro {

void closeQuietly(CRecordsetEx& recordset) {
    if (recordset.IsOpen()) {
        recordset.Close();
    }
}

void refreshDatabaseAfterBatch(const WorkerContext& context, WorkerHost& host) {
    if (!context.isSqlServerFamily || context.recordset->CancelRequested() ||
        !batchMentionsUse(context.batchText)) {
        return;
    }
    try {
        // The worker is done with the recordset: it asks there, and hands the name over.
        const CurrentDatabaseAnswer answer = queryCurrentDatabase(*context.recordset);
        if (answer.name) {
            host.postCurrentDatabase(*answer.name);
        }
    } catch (...) {
        // The database box keeps what it showed; the batch itself went well.
    }
}

} // namespace veltro
