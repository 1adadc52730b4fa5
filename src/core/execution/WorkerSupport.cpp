#include "execution/WorkerSupport.h"

#include "execution/BatchText.h"
#include "execution/WorkerContext.h"
#include "execution/WorkerHost.h"
#include "odbc/CRecordsetEx.h"
#include "session/DatabaseSql.h"

namespace veltro {

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
