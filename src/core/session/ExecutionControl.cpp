#include "session/ExecutionControl.h"

#include "common/ErrorText.h"
#include "common/TextCompare.h"
#include "common/TickCount.h"
#include "results/BatchWorker.h"
#include "results/CRecordsetEx.h"
#include "results/GridStore.h"
#include "results/ResultSink.h"
#include "results/TextFetchWorker.h"
#include "results/WorkerSupport.h"
#include "session/BatchText.h"
#include "session/ExecutionView.h"
#include "session/MessageText.h"
#include "session/Session.h"
#include "session/ThreadPriority.h"
#include "session/WorkerHost.h"

namespace veltro {

namespace {

constexpr int statusPane = 0;
constexpr int resultPane = resultInfoPane;
constexpr int firstGridId = 2000;
// How long a cancel thread keeps asking a driver that has not yet seen its cancel.
constexpr auto cancelRepeatLimit = std::chrono::seconds(30);

ExecutionView& noWindow() {
    static ExecutionView nothing;
    return nothing;
}

} // namespace

ExecutionControl::ExecutionControl(Session& owner, ExecutionView& executionView,
                                   WorkerHost& workerHost)
    : session(owner), view(&executionView), detachedView(noWindow()), host(workerHost),
      results(owner, executionView) {}

void ExecutionControl::detachView() {
    view = &detachedView;
    results.setView(detachedView);
    if (session.executing && !session.cancelRequested) {
        session.cancelRequested = true;
        session.batchRecordset->cancelScope().request(cancelTicket, false);
        startCancelThread();
    }
}

bool ExecutionControl::threadsRunning() const {
    return workerThread.isRunning() || cancelThread.isRunning();
}

ExecutionControl::~ExecutionControl() = default;

void ExecutionControl::Execute(const std::string& wholeText, std::size_t selectionStart,
                               std::size_t selectionEnd) {
    if (session.executing) {
        return;
    }
    session.statusText = executingText;
    view->showPaneText(statusPane, session.statusText);
    ClearResults("");
    session.startTicks = tickCount();
    view->startExecTimer();
    session.execTimeText = "Exec time: 00:00:00";
    view->showPaneText(1, session.execTimeText);
    session.resultInfoText = emptyGridInfoText;
    view->showPaneText(resultPane, session.resultInfoText);
    session.messageBuffer.clear();
    session.textBuffer.clear();
    session.executing = true;
    session.cancelRequested = false;
    session.cancelled = 0;
    if (session.isSqlServerFamily) {
        view->setDatabaseBoxEnabled(false);
    }

    std::string batch = batchTextOf(wholeText, selectionStart, selectionEnd);
    batchLine = batchFirstLine(wholeText, selectionStart, selectionEnd);
    view->setDocumentTitle(titleWithPreview(view->documentTitle(), batch));

    const ObjectTextBatch objectText =
        detectObjectTextBatch(batch, session.isSqlServerFamily, session.dbmsName);
    if (objectText.isObjectText) {
        session.textMode = true;
        view->setPaneTitle(objectText.objectName);
        batch = objectText.batchText;
    }
    if (session.textMode) {
        session.resultInfoText = ResultNavigation::linesOfTextInfo(0);
        view->showPaneText(resultPane, session.resultInfoText);
    }
    Launch(batch);
}

bool ExecutionControl::Launch(const std::string& batchText) {
    closeQuietly(*session.batchRecordset);
    if (session.textMode && session.isJetDriver) {
        // Stored query definitions live in the Jet engine, which this platform lacks.
        appendMessage(session.messageBuffer,
                      "The text of a stored Jet query cannot be read on this platform.");
        CompleteBatch({1, false});
        session.textMode = false;
        return false;
    }
    WorkerContext context;
    context.batchText = batchText;
    context.recordset = session.batchRecordset;
    context.supportsMultipleResults = session.supportsMultipleResults;
    context.supportsRowCount = session.supportsRowCount;
    context.isSqlServerFamily = session.isSqlServerFamily;
    context.newResultSink = view->resultSinkMaker();
    cancelTicket = session.batchRecordset->cancelScope().renew();
    fillingGrid.reset();
    std::string failure;
    WorkerHost& messages = host;
    const bool started = workerThread.start(
        [context = std::move(context), textMode = session.textMode, &messages,
         owner = keepAlive.lock()]() mutable {
            try {
                if (textMode) {
                    TextFetchWorker(std::move(context), messages).run();
                } else {
                    BatchWorker(std::move(context), messages).run();
                }
            } catch (...) {
                // A worker that failed outside its batch (out of memory, say) still ends it:
                // the window would otherwise wait for it forever.
                messages.postMessage(errorTextFor(std::current_exception()));
                if (textMode) {
                    messages.postTextFetchDone({1, false}, {});
                } else {
                    messages.postBatchDone({1, false});
                }
            }
        },
        session.threadPriority, failure, [&messages] { messages.postThreadEnded(); });
    if (!started) {
        appendMessage(session.messageBuffer, "The batch could not be started: " + failure);
        if (session.textMode) {
            onTextFetchDone({1, false}, {});
        } else {
            CompleteBatch({1, false});
        }
    }
    return started;
}

void ExecutionControl::onNewGrid(std::shared_ptr<ResultSink> grid) {
    // A window that is gone shows no more grids; its cancel request stops the worker.
    if (!windowExists()) {
        return;
    }
    if (fillingGrid) {
        // The rows the last result set ended with.
        view->gridRowsChanged(*fillingGrid);
    }
    view->addGridWindow(grid);
    ++session.nextGridId;
    view->setGridShown(*grid, false);
    session.gridList.push_back(grid);
    session.gridCount = static_cast<int>(session.gridList.size());
    fillingGrid = grid;
    if (session.currentGridNumber == 0) {
        view->setCurrentGrid(*grid);
    }

    GridAppearance look;
    look.backColorBkg = 0xFFFFFF;
    look.borderStyle = 0;
    look.allowUserResizing = 1;
    look.focusRect = 0;
    look.highLight = 1;
    look.scrollBars = 3;
    grid->setAppearance(look);
    if (session.gridFont.height != 0) {
        GridFontProperties font;
        font.bold = session.gridFontExtras.bold != 0;
        font.charset = session.gridFont.charSet;
        font.italic = session.gridFont.italic != 0;
        font.name = session.gridFont.faceName;
        font.size = session.gridFontExtras.size;
        font.underline = session.gridFont.underline != 0;
        font.weight = session.gridFont.weight;
        grid->setFont(font);
    }
    if (session.gridCount == 2) {
        session.currentGridNumber = 1;
        if (!session.showsMessages()) {
            results.ShowGrid(1);
        }
        noteCompletionIdle();
    }
}

void ExecutionControl::onGridRows() {
    if (!windowExists() || !fillingGrid) {
        return;
    }
    view->gridRowsChanged(*fillingGrid);
    if (session.gridCount == 1 && !session.showsMessages()) {
        view->setGridShown(*fillingGrid, true);
    }
}

void ExecutionControl::onMessage(const std::string& text) {
    appendMessage(session.messageBuffer, text);
}

// The grid that navigation has on show (the first until the user moves on) is the one the
// results pane shows, and the one status pane 2 describes.
void ExecutionControl::showGridOnShow() {
    const int number = session.currentGridNumber != 0 ? session.currentGridNumber : 1;
    if (number > static_cast<int>(session.gridList.size())) {
        return;
    }
    ResultSink& grid = *session.gridList[static_cast<std::size_t>(number - 1)];
    if (session.gridCount > 1) {
        results.HideAllGrids();
    }
    view->setGridShown(grid, true);
}

void ExecutionControl::CompleteBatch(BatchEnd end) {
    if (!windowExists() || session.completionHandled) {
        return;
    }
    session.completionHandled = true;
    if (fillingGrid) {
        view->gridRowsChanged(*fillingGrid);
        fillingGrid.reset();
    }
    if (end.cancelled) {
        session.cancelled = 1;
    }
    // A cancel still on its way concerns a batch that is over.
    session.batchRecordset->cancelScope().renew();
    closeQuietly(*session.batchRecordset);

    if (session.textMode) {
        if (!session.textBuffer.empty() && !session.showsMessages()) {
            view->setResultsText(session.textBuffer);
            session.resultInfoText = ResultNavigation::linesOfTextInfo(view->resultsLineCount());
            view->showPaneText(resultPane, session.resultInfoText);
        }
    } else if (session.gridCount != 0) {
        results.UpdateResultInfo();
        session.gridList.back()->SetRedraw(true);
        view->setResultsRedraw(true);
        if (!session.showsMessages()) {
            showGridOnShow();
        }
    }

    const bool noResult = session.textMode ? session.textBuffer.empty() : session.gridCount == 0;
    if (session.cancelled) {
        session.statusText = canceledText;
        appendMessage(session.messageBuffer, canceledByUserText);
    } else if (end.errorFlag == 0) {
        session.statusText = completedText;
        if (session.messageBuffer.empty() && noResult) {
            session.messageBuffer = completedSuccessfullyText;
        }
    } else {
        session.statusText = completedWithErrorsText;
    }
    view->showPaneText(statusPane, session.statusText);
    if (noResult && !session.showsMessages()) {
        results.ToggleMessages();
    }
    if (end.failedStatementLine > 0) {
        view->showFailedStatement(batchLine + end.failedStatementLine - 1);
    }
    session.UpdateExecTime();
    view->stopExecTimer();
    session.executing = false;
    session.cancelRequested = false;
    session.cancelled = 0;
    noteCompletionIdle();
}

void ExecutionControl::onTextFetchDone(BatchEnd end, std::string text) {
    if (windowExists() && !session.completionHandled) {
        session.textBuffer = std::move(text);
    }
    CompleteBatch(end);
    session.textMode = false;
}

void ExecutionControl::onCancelDone() {
    if (session.executing && session.cancelRequested) {
        session.cancelled = 1;
    }
    view->runPendingClose();
}

void ExecutionControl::onCurrentDatabase(const std::string& name) {
    if (windowExists()) {
        view->showCurrentDatabase(name);
    }
}

void ExecutionControl::onTimer() {
    if (!session.executing) {
        return;
    }
    session.UpdateExecTime();
    if (!session.textMode) {
        results.UpdateResultInfo();
    }
}

void ExecutionControl::noteCompletionIdle() {
    if (!session.closePending && !session.disconnectAllPending && !session.exitPending) {
        view->runIdle();
    }
}

void ExecutionControl::Cancel() {
    if (!session.executing) {
        view->runPendingClose();
        return;
    }
    if (session.cancelRequested || session.completionHandled) {
        return;
    }
    session.cancelRequested = true;
    session.statusText = cancellingText;
    view->showPaneText(statusPane, session.statusText);
    // The request holds from now on; the cancel thread takes it to the driver, which may
    // keep it waiting.
    session.batchRecordset->cancelScope().request(cancelTicket, false);
    if (!startCancelThread()) {
        session.cancelled = 1;
    }
}

bool ExecutionControl::startCancelThread() {
    // On this DBMS no cancel goes to the driver: the worker stops on the request alone.
    const bool callDriver = !equalsNoCase(session.dbmsName, "Sybase SQL Anywhere");
    WorkerHost& messages = host;
    std::string failure;
    return cancelThread.start(
        [recordset = session.batchRecordset, ticket = cancelTicket, callDriver, &messages,
         owner = keepAlive.lock()] {
            CancelScope& scope = recordset->cancelScope();
            scope.request(ticket, callDriver);
            messages.postCancelDone();
            if (callDriver) {
                scope.repeat(ticket, cancelRepeatLimit);
            }
        },
        priorityNormal, failure, [&messages] { messages.postThreadEnded(); });
}

void ExecutionControl::ClearResults(const std::string& text) {
    view->setResultsRedraw(false);
    results.DestroyAllGrids();
    view->setResultsText(text);
    view->setResultsRedraw(true);
    session.nextGridId = firstGridId;
    session.currentGridNumber = 0;
    session.completionHandled = false;
    session.exitPending = false;
    session.disconnectAllPending = false;
    session.closePending = false;
    fillingGrid.reset();
    view->stopExecTimer();
}

bool ExecutionControl::waitForThreads(std::chrono::milliseconds limitEach) {
    const bool workerEnded = workerThread.waitFor(limitEach);
    const bool cancelEnded = cancelThread.waitFor(limitEach);
    return workerEnded && cancelEnded;
}

} // namespace veltro
