#include "execution/TextFetchWorker.h"

#include "common/AppError.h"
#include "common/ErrorText.h"
#include "execution/WorkerHost.h"
#include "execution/WorkerSupport.h"
#include "odbc/CRecordsetEx.h"

namespace veltro {

namespace {

constexpr const char* noTextResult = "NULL";

} // namespace

TextFetchWorker::TextFetchWorker(WorkerContext workerContext, WorkerHost& workerHost)
    : context(std::move(workerContext)), recordset(*context.recordset), host(workerHost) {}

bool TextFetchWorker::isCancelled() const {
    return recordset.CancelRequested();
}

int TextFetchWorker::run() {
    try {
        fetch();
    } catch (...) {
        if (!isCancelled()) {
            errorFlag = true;
            std::string failureText;
            try {
                throw;
            } catch (const AppError&) {
                // Only database errors and out-of-memory have texts of their own here.
                failureText = genericErrorText;
            } catch (...) {
                failureText = errorTextFor(std::current_exception());
            }
            host.postMessage(failureText);
        }
    }
    try {
        closeQuietly(recordset);
        refreshDatabaseAfterBatch(context, host);
    } catch (...) {
        // The completion message goes out whatever happens here.
    }
    host.postTextFetchDone({errorFlag ? 1 : 0, isCancelled()}, std::move(text));
    return 0;
}

void TextFetchWorker::appendColumnZero() {
    text += cutAtNul(recordset.GetFieldValue(0));
}

void TextFetchWorker::fetch() {
    text.clear();
    closeQuietly(recordset);
    if (isCancelled()) {
        return;
    }
    if (!recordset.Execute(context.batchText)) {
        // Nothing could run: that is a failure, never an empty text.
        if (recordset.allocationFailure()) {
            throw *recordset.allocationFailure();
        }
        return;
    }
    if (isCancelled()) {
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
        if (!context.supportsMultipleResults || !recordset.FlushResultSet()) {
            if (!isCancelled() && text.empty()) {
                text = noTextResult;
            }
            return;
        }
        recordset.DescribeColumns();
        if (isCancelled()) {
            return;
        }
        if (recordset.resultColumnCount() > 0 && !recordset.IsBOF()) {
            text += "\n\n";
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
