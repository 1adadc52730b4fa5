#include "results/TextFetchWorker.h"

#include "common/AppError.h"
#include "common/ErrorText.h"
#include "results/CRecordsetEx.h"
#include "results/WorkerSupport.h"
#include "session/MessageText.h"
#include "session/Session.h"
#include "session/WorkerContext.h"
#include "session/WorkerHost.h"

namespace veltro {

namespace {

constexpr const char* noTextResult = "NULL";

} // namespace

TextFetchWorker::TextFetchWorker(WorkerContext& workerContext, WorkerHost& workerHost)
    : context(workerContext), session(*workerContext.session),
      recordset(*workerContext.session->batchRecordset), host(workerHost) {}

bool TextFetchWorker::isCancelled() const {
    return session.cancelled != 0;
}

int TextFetchWorker::run() {
    try {
        fetch();
    } catch (...) {
        if (!isCancelled()) {
            errorFlag = true;
            std::string text;
            try {
                throw;
            } catch (const AppError&) {
                // Only database errors and out-of-memory have texts of their own here.
                text = genericErrorText;
            } catch (...) {
                text = errorTextFor(std::current_exception());
            }
            appendMessage(session.messageBuffer, text);
        }
    }
    try {
        closeQuietly(recordset);
        refreshDatabaseAfterBatch(session, context.batchText, host);
    } catch (...) {
        // The completion message goes out whatever happens here.
    }
    host.postTextFetchDone(errorFlag ? 1 : 0);
    return 0;
}

void TextFetchWorker::appendColumnZero() {
    recordset.GetFieldValue(0, value);
    cutAtNul(value);
    session.textBuffer += value;
}

void TextFetchWorker::fetch() {
    session.textBuffer.clear();
    closeQuietly(recordset);
    if (isCancelled() || !recordset.Execute(context.batchText) || isCancelled()) {
        return;
    }
    if (recordset.resultColumnCount() > 0 && !recordset.IsBOF()) {
        while (!isCancelled() && !recordset.IsEOF()) {
            appendColumnZero();
            if (!isCancelled()) {
                recordset.MoveNext();
            }
        }
        if (isCancelled()) {
            return;
        }
    }
    while (!isCancelled()) {
        if (!session.supportsMultipleResults || !recordset.FlushResultSet()) {
            if (!isCancelled() && session.textBuffer.empty()) {
                session.textBuffer = noTextResult;
            }
            return;
        }
        recordset.DescribeColumns();
        if (isCancelled()) {
            return;
        }
        if (recordset.resultColumnCount() > 0 && !recordset.IsBOF()) {
            session.textBuffer += "\n\n";
            for (;;) {
                if (isCancelled()) {
                    return;
                }
                recordset.MoveNext();
                if (isCancelled() || recordset.IsEOF()) {
                    break;
                }
                appendColumnZero();
            }
            if (isCancelled()) {
                return;
            }
        }
    }
}

} // namespace veltro
