#include "results/BatchWorker.h"

#include "common/AppError.h"
#include "common/ErrorText.h"
#include "odbc/DatabaseError.h"
#include "results/CRecordsetEx.h"
#include "results/GridStore.h"
#include "results/WorkerSupport.h"
#include "session/MessageText.h"
#include "session/Session.h"
#include "session/WorkerContext.h"
#include "session/WorkerHost.h"

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

std::size_t characterCount(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

} // namespace

BatchWorker::BatchWorker(WorkerContext& workerContext, WorkerHost& workerHost)
    : context(workerContext), session(*workerContext.session),
      recordset(*workerContext.session->batchRecordset), host(workerHost) {}

bool BatchWorker::isCancelled() const {
    return session.cancelled != 0;
}

int BatchWorker::run() {
    try {
        closeQuietly(recordset);
        if (!isCancelled() && recordset.Execute(context.batchText)) {
            processResult(true);
            while (session.supportsMultipleResults && !isCancelled() &&
                   recordset.FlushResultSet()) {
                recordset.DescribeColumns();
                rowIndex = 0;
                processResult(false);
            }
        }
        closeQuietly(recordset);
    } catch (...) {
        // The recordset stays open here; the session closes it when the batch completes.
        handleFailure();
    }
    try {
        refreshDatabaseAfterBatch(session, context.batchText, host);
        if (isCancelled()) {
            if (gridRowCounter > 1) {
                --gridRowCounter;
            }
            if (context.grid) {
                host.sendGridRows(gridRowCounter, session.cancelled);
            }
        }
        context.grid.reset();
    } catch (...) {
        // Nothing here may keep the completion message from going out.
    }
    host.postBatchDone(errorFlag ? 1 : 0);
    return 0;
}

void BatchWorker::handleFailure() {
    if (isCancelled()) {
        return;
    }
    errorFlag = true;
    appendMessage(session.messageBuffer, errorTextFor(std::current_exception()));
}

int BatchWorker::sendRows(int rows) {
    return host.sendGridRows(rows, 0);
}

void BatchWorker::appendFetchedCount() {
    appendMessage(session.messageBuffer,
                  formatCount("[%lld row(s) affected (application specific)]", rowIndex));
}

void BatchWorker::processResult(bool firstResult) {
    const int columnCount = recordset.resultColumnCount();
    if (columnCount == 0) {
        if (session.supportsRowCount && !isCancelled()) {
            SQLLEN count = -1;
            SQLRowCount(recordset.statementHandle(), &count);
            appendMessage(session.messageBuffer,
                          count != -1 ? formatCount("(%lld row(s) affected)", count) : "");
        }
        return;
    }
    if (columnCount < 0) {
        return;
    }
    if (host.sendNewGrid(columnCount) == -1) {
        throw AppError(gridCreateFailedText);
    }
    GridStore& grid = *context.grid;
    if (!isCancelled()) {
        fillHeader(grid, columnCount);
    }
    if (!isCancelled() && !recordset.IsBOF()) {
        capacity = rowStep;
        if (sendRows(capacity) == -1) {
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
                    sendRows(1);
                    appendFetchedCount();
                }
                throw;
            }
        }
        while (!isCancelled() && !recordset.IsEOF()) {
            if (rowIndex >= capacity - 1) {
                capacity += rowStep;
                if (sendRows(capacity) == -1) {
                    throw AppError(gridMemoryFailedText);
                }
                host.repaintCurrentGrid();
            }
            gridRowCounter = rowIndex + 2;
            ++rowIndex;
            for (int k = 0; k < columnCount; ++k) {
                try {
                    recordset.GetFieldValue(k, value);
                } catch (const DatabaseError&) {
                    if (!isCancelled()) {
                        sendRows(rowIndex + 1);
                    }
                    throw;
                }
                cutAtNul(value);
                if (!grid.SetTextMatrix(rowIndex, k, value)) {
                    sendRows(rowIndex + 1);
                    throw AppError(subscriptText);
                }
            }
            if (isCancelled()) {
                break;
            }
            try {
                recordset.MoveNext();
            } catch (const DatabaseError&) {
                if (!isCancelled()) {
                    sendRows(rowIndex + 1);
                    appendFetchedCount();
                }
                throw;
            }
        }
        if (sendRows(rowIndex + 1) == -1) {
            throw AppError(gridMemoryFailedText);
        }
    }
    if (isCancelled()) {
        gridRowCounter = rowIndex + 1;
    } else {
        appendFetchedCount();
    }
}

void BatchWorker::fillHeader(GridStore& grid, int columnCount) {
    for (int k = 0; k < columnCount; ++k) {
        const ColumnInfo info = recordset.GetColumnInfo(k);
        const auto nameLength = characterCount(info.name);
        const std::size_t width = info.precision < nameLength
                                      ? nameLength
                                      : std::min<std::size_t>(info.precision, maxWidthCharacters);
        grid.SetColAlignment(k, alignLeftCenter);
        grid.SetColWidth(k, (static_cast<int>(width) + info.scale) * twipsPerCharacter);
        grid.SetTextMatrix(0, k, info.name);
    }
}

} // namespace veltro
