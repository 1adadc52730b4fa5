#include "execution/BatchWorker.h"

#include "common/AppError.h"
#include "common/ErrorText.h"
#include "common/Utf8.h"
#include "execution/SqlDialect.h"
#include "execution/WorkerHost.h"
#include "execution/WorkerSupport.h"
#include "odbc/CRecordsetEx.h"
#include "odbc/DatabaseError.h"
#include "results/ResultSink.h"

#include <sqlext.h>

#include <algorithm>
#include <cstdio>

namespace veltro {

namespace {

constexpr int rowStep = 700;
constexpr int twipsPerCharacter = 110;
constexpr int maxWidthCharacters = 50;
constexpr int alignLeftCenter = 1;

constexpr const char* gridCreateFailedText = "Failed to create grid control.";
constexpr const char* gridMemoryFailedText = "Unable to Allocate Memory for FlexGrid.";
constexpr const char* subscriptText = "Subscript out of range.";

std::string formatCount(const char* format, long long count) {
    char text[80];
    std::snprintf(text, sizeof text, format, count);
    return text;
}

} // namespace

BatchWorker::BatchWorker(WorkerContext workerContext, WorkerHost& workerHost)
    : context(std::move(workerContext)), recordset(*context.recordset), host(workerHost) {
    wholeBatch = takesWholeBatches(context.dbmsName, context.isSqlServerFamily);
    if (!wholeBatch) {
        // Even one statement goes alone: SQLite refuses a comment after it, and a MySQL
        // directive line is the client's, never the server's.
        statements = splitStatements(context.batchText, sqlDialectOf(context.dbmsName));
    }
}

bool BatchWorker::isCancelled() const {
    return recordset.CancelRequested();
}

int BatchWorker::run() {
    try {
        closeQuietly(recordset);
        if (!isCancelled()) {
            runBatch();
        }
        closeQuietly(recordset);
    } catch (...) {
        // The recordset stays open here; the session closes it when the batch completes.
        handleFailure();
    }
    try {
        refreshDatabaseAfterBatch(context, host);
        if (isCancelled()) {
            if (gridRowCounter > 1) {
                --gridRowCounter;
            }
            if (grid) {
                setRows(gridRowCounter);
            }
        }
        grid.reset();
    } catch (...) {
        // Nothing here may keep the completion message from going out.
    }
    host.postBatchDone({errorFlag ? 1 : 0, isCancelled(), failedStatementLine});
    return 0;
}

void BatchWorker::runBatch() {
    // Comments and client commands alone: the DBMS gets nothing, as from its own client.
    if (!wholeBatch && statements.empty()) {
        return;
    }
    if (!recordset.Execute(wholeBatch ? context.batchText : statementText(0))) {
        if (recordset.allocationFailure()) {
            // Nothing could run: that is a failure, never a success without messages.
            throw *recordset.allocationFailure();
        }
        return;
    }
    postInfoMessages();
    processResult(true);
    while (!isCancelled() && nextResult()) {
        postInfoMessages();
        recordset.DescribeColumns();
        rowIndex = 0;
        processResult(false);
    }
}

// The driver's next result, or the next statement's first once a statement's results are
// all taken (MySQL refuses a statement while results of the last one wait).
bool BatchWorker::nextResult() {
    if (context.supportsMultipleResults && recordset.FlushResultSet()) {
        return true;
    }
    if (statementIndex + 1 >= statements.size()) {
        return false;
    }
    ++statementIndex;
    recordset.ExecuteFurther(statementText(statementIndex));
    return true;
}

std::string BatchWorker::statementText(std::size_t index) const {
    const SqlStatement& statement = statements[index];
    return context.batchText.substr(statement.offset, statement.length);
}

void BatchWorker::handleFailure() {
    if (isCancelled()) {
        return;
    }
    errorFlag = true;
    std::string text = errorTextFor(std::current_exception());
    if (statements.size() > 1) {
        // In a long script the user must find the statement that failed: its line in the
        // editor, where the caret goes.
        failedStatementLine = lineAtOffset(context.batchText, statements[statementIndex].offset);
        if (!text.empty() && text.back() != '\n') {
            text += '\n';
        }
        char where[80];
        std::snprintf(where, sizeof where, "Statement %zu, line %d\n", statementIndex + 1,
                      context.firstLine + failedStatementLine - 1);
        text += where;
    }
    host.postMessage(text);
}

bool BatchWorker::setRows(int rows) {
    if (!grid->SetRows(rows)) {
        return false;
    }
    host.postGridRows();
    return true;
}

void BatchWorker::postInfoMessages() {
    for (const std::string& info : recordset.infoMessages()) {
        host.postMessage(info);
    }
}

void BatchWorker::postFetchedCount() {
    // The rows go out before the count that follows them, wherever both are written.
    grid->rowsComplete();
    host.postMessage(formatCount("[%lld row(s) affected (application specific)]", rowIndex));
}

void BatchWorker::processResult(bool firstResult) {
    const int columnCount = recordset.resultColumnCount();
    if (columnCount == 0) {
        if (context.supportsRowCount && !isCancelled()) {
            // A count the driver cannot tell shows as an empty line.
            const SQLLEN count = recordset.RowCount();
            host.postMessage(count != -1 ? formatCount("(%lld row(s) affected)", count) : "");
        }
        return;
    }
    if (columnCount < 0) {
        return;
    }
    grid = context.newResultSink ? context.newResultSink() : nullptr;
    if (!grid || !grid->SetRows(1) || !grid->SetCols(columnCount)) {
        grid.reset();
        throw AppError(gridCreateFailedText);
    }
    host.postNewGrid(grid);
    if (!isCancelled()) {
        fillHeader(columnCount);
    }
    if (!isCancelled() && !recordset.IsBOF()) {
        capacity = rowStep;
        if (!setRows(capacity)) {
            throw AppError(gridMemoryFailedText);
        }
        if (isCancelled()) {
            gridRowCounter = 1;
        }
        if (!firstResult) {
            try {
                recordset.MoveNext();
            } catch (const DatabaseError&) {
                if (!isCancelled()) {
                    setRows(1);
                    postFetchedCount();
                }
                throw;
            }
        }
        while (!isCancelled() && !recordset.IsEOF()) {
            if (rowIndex >= capacity - 1) {
                capacity += rowStep;
                if (!setRows(capacity)) {
                    throw AppError(gridMemoryFailedText);
                }
            }
            gridRowCounter = rowIndex + 2;
            ++rowIndex;
            fillRow(columnCount);
            if (isCancelled()) {
                break;
            }
            try {
                recordset.MoveNext();
            } catch (const DatabaseError&) {
                if (!isCancelled()) {
                    setRows(rowIndex + 1);
                    postFetchedCount();
                }
                throw;
            }
        }
        if (!setRows(rowIndex + 1)) {
            throw AppError(gridMemoryFailedText);
        }
    }
    if (isCancelled()) {
        gridRowCounter = rowIndex + 1;
    } else {
        postFetchedCount();
    }
}

void BatchWorker::fillRow(int columnCount) {
    rowCells.clear();
    for (int k = 0; k < columnCount; ++k) {
        bool isNull = false;
        std::string_view value;
        try {
            value = recordset.GetFieldValue(k, &isNull);
        } catch (const DatabaseError&) {
            // The columns read before the failure stay in the row; a grid that refuses them
            // changes nothing about the failure reported.
            grid->SetRow(rowIndex, rowCells);
            if (!isCancelled()) {
                setRows(rowIndex + 1);
            }
            throw;
        }
        if (isNull) {
            rowCells.addNull();
        } else {
            rowCells.add(cutAtNul(value));
        }
    }
    if (!grid->SetRow(rowIndex, rowCells)) {
        setRows(rowIndex + 1);
        throw AppError(subscriptText);
    }
}

void BatchWorker::fillHeader(int columnCount) {
    for (int k = 0; k < columnCount; ++k) {
        const ColumnInfo info = recordset.GetColumnInfo(k);
        const auto nameLength = utf8Length(info.name);
        const std::size_t width = info.precision < nameLength
                                      ? nameLength
                                      : std::min<std::size_t>(info.precision, maxWidthCharacters);
        // A grid that refuses a layout call still takes the rows; nothing to report.
        grid->SetColAlignment(k, alignLeftCenter);
        grid->SetColWidth(k, (static_cast<int>(width) + info.scale) * twipsPerCharacter);
        grid->SetTextMatrix(0, k, info.name);
    }
}

} // namespace veltro
