#include "execution/ExecutionControl.h"

#include "common/ErrorText.h"
#include "common/TextCompare.h"
#include "common/TickCount.h"
#include "execution/BatchText.h"
#include "execution/BatchWorker.h"
#include "execution/ExecutionView.h"
#include "execution/TextFetchWorker.h"
#include "execution/WorkerHost.h"
#include "execution/WorkerSupport.h"
#include "history/BatchRecord.h"
#include "odbc/CRecordsetEx.h"
#include "results/GridStore.h"
#include "results/ResultSink.h"
#include "session/MessageText.h"
#include "session/Session.h"
#include "session/ThreadPriority.h"

namespace veltro {

namespace {

constexpr int statusPane = 0;
constexpr int resultPane = resultInfoPane;
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
      results(owner, state, executionView) {}

void ExecutionControl::detachView() {
    view = &detachedView;
    results.setView(detachedView);
    if (!state.executing()) {
        return;
    }
    const bool cancelling = state.cancelRequested();
    state.phase = BatchPhase::closing;
    if (!cancelling) {
        session.batchRecordset->cancelScope().request(cancelTicket, false);
        startCancelThread();
    }
}

bool ExecutionControl::threadsRunning() const {
    return workerThread.isRunning() || cancelThread.isRunning();
}

ExecutionControl::~ExecutionControl() = default;

void ExecutionControl::Execute(const std::string& wholeText, std::size_t selectionStart,
                               std::size_t selectionEnd, BatchOutput output) {
    if (state.executing()) {
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
    state.messageBuffer.clear();
    state.textBuffer.clear();
    state.phase = BatchPhase::running;
    state.cancelled = false;
    state.textMode = output == BatchOutput::text;
    if (session.capabilities().isSqlServerFamily) {
        view->setDatabaseBoxEnabled(false);
    }

    std::string batch = batchTextOf(wholeText, selectionStart, selectionEnd);
    batchLine = batchFirstLine(wholeText, selectionStart, selectionEnd);
    view->setDocumentTitle(titleWithPreview(view->documentTitle(), batch));

    const ObjectTextBatch objectText = detectObjectTextBatch(
        batch, session.capabilities().isSqlServerFamily, session.capabilities().dbmsName);
    if (objectText.isObjectText) {
        state.textMode = true;
        view->setPaneTitle(objectText.objectName);
        batch = objectText.batchText;
    }
    if (state.textMode) {
        session.resultInfoText = ResultNavigation::linesOfTextInfo(0);
        view->showPaneText(resultPane, session.resultInfoText);
    }
    Launch(batch);
}

bool ExecutionControl::Launch(const std::string& batchText) {
    closeQuietly(*session.batchRecordset);
    if (state.textMode && session.capabilities().isJetDriver) {
        // Stored query definitions live in the Jet engine, which this platform lacks.
        appendMessage(state.messageBuffer,
                      "The text of a stored Jet query cannot be read on this platform.");
        CompleteBatch({1, false});
        state.textMode = false;
        return false;
    }
    launchedText = batchText;
    launchedAt = std::chrono::system_clock::now();
    WorkerContext context;
    context.batchText = batchText;
    context.firstLine = batchLine;
    context.recordset = session.batchRecordset;
    context.dbmsName = session.capabilities().dbmsName;
    context.supportsMultipleResults = session.capabilities().supportsMultipleResults;
    context.supportsRowCount = session.capabilities().supportsRowCount;
    context.isSqlServerFamily = session.capabilities().isSqlServerFamily;
    context.newResultSink = view->resultSinkMaker();
    cancelTicket = session.batchRecordset->cancelScope().renew();
    fillingGrid.reset();
    std::string failure;
    WorkerHost& messages = host;
    const bool started = workerThread.start(
        [context = std::move(context), textMode = state.textMode, &messages,
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
        appendMessage(state.messageBuffer, "The batch could not be started: " + failure);
        if (state.textMode) {
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
    view->setGridShown(*grid, false);
    state.gridList.push_back(grid);
    fillingGrid = grid;
    if (state.currentGridNumber == 0) {
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
    if (state.gridCount() == 2) {
        state.currentGridNumber = 1;
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
    if (state.gridCount() == 1 && !session.showsMessages()) {
        view->setGridShown(*fillingGrid, true);
    }
}

void ExecutionControl::onMessage(const std::string& text) {
    appendMessage(state.messageBuffer, text);
    view->messagesAdded(state.messageBuffer);
}

void ExecutionControl::CompleteBatch(BatchEnd end) {
    if (!windowExists() || !state.executing()) {
        return;
    }
    if (fillingGrid) {
        view->gridRowsChanged(*fillingGrid);
        fillingGrid.reset();
    }
    if (end.cancelled) {
        state.cancelled = true;
    }
    // A cancel still on its way concerns a batch that is over.
    session.batchRecordset->cancelScope().renew();
    closeQuietly(*session.batchRecordset);

    if (state.textMode) {
        if (!state.textBuffer.empty() && !session.showsMessages()) {
            view->setResultsText(state.textBuffer);
            session.resultInfoText = ResultNavigation::linesOfTextInfo(view->resultsLineCount());
            view->showPaneText(resultPane, session.resultInfoText);
        }
    } else if (state.gridCount() != 0) {
        results.UpdateResultInfo();
        state.gridList.back()->SetRedraw(true);
        view->setResultsRedraw(true);
        if (!session.showsMessages()) {
            results.ShowGridOnShow();
        }
    }

    const bool noResult = state.textMode ? state.textBuffer.empty() : state.gridCount() == 0;
    if (state.cancelled) {
        session.statusText = canceledText;
        appendMessage(state.messageBuffer, canceledByUserText);
    } else if (end.errorFlag == 0) {
        session.statusText = completedText;
        if (state.messageBuffer.empty() && noResult) {
            state.messageBuffer = completedSuccessfullyText;
        }
    } else {
        session.statusText = completedWithErrorsText;
    }
    view->showPaneText(statusPane, session.statusText);
    if (!state.textMode) {
        const BatchOutcome outcome = state.cancelled      ? BatchOutcome::cancelled
                                     : end.errorFlag == 0 ? BatchOutcome::completed
                                                          : BatchOutcome::completedWithErrors;
        view->batchFinished(describeBatch(launchedText, session.connectString, launchedAt,
                                          std::chrono::system_clock::now(), outcome,
                                          state.gridList));
    }
    if (noResult && !session.showsMessages()) {
        results.ToggleMessages();
    }
    if (end.failedStatementLine > 0) {
        view->showFailedStatement(batchLine + end.failedStatementLine - 1);
    }
    session.UpdateExecTime();
    view->stopExecTimer();
    state.phase = BatchPhase::idle;
    state.cancelled = false;
    noteCompletionIdle();
}

void ExecutionControl::onTextFetchDone(BatchEnd end, std::string text) {
    if (windowExists() && state.executing()) {
        state.textBuffer = std::move(text);
    }
    CompleteBatch(end);
    state.textMode = false;
}

void ExecutionControl::onCancelDone() {
    if (state.cancelRequested()) {
        state.cancelled = true;
    }
    view->runPendingClose();
}

void ExecutionControl::onCurrentDatabase(const std::string& name) {
    if (windowExists()) {
        view->showCurrentDatabase(name);
    }
}

void ExecutionControl::onTimer() {
    if (!state.executing()) {
        return;
    }
    session.UpdateExecTime();
    if (!state.textMode) {
        results.UpdateResultInfo();
    }
}

void ExecutionControl::noteCompletionIdle() {
    if (state.pendingClose == PendingClose::none) {
        view->runIdle();
    }
}

void ExecutionControl::Cancel() {
    if (!state.executing()) {
        view->runPendingClose();
        return;
    }
    if (state.cancelRequested()) {
        return;
    }
    state.phase = BatchPhase::cancelling;
    session.statusText = cancellingText;
    view->showPaneText(statusPane, session.statusText);
    // The request holds from now on; the cancel thread takes it to the driver, which may
    // keep it waiting.
    session.batchRecordset->cancelScope().request(cancelTicket, false);
    if (!startCancelThread()) {
        state.cancelled = true;
    }
}

bool ExecutionControl::startCancelThread() {
    // On this DBMS no cancel goes to the driver: the worker stops on the request alone.
    const bool callDriver = !equalsNoCase(session.capabilities().dbmsName, "Sybase SQL Anywhere");
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
    state.currentGridNumber = 0;
    state.pendingClose = PendingClose::none;
    fillingGrid.reset();
    view->stopExecTimer();
}

void ExecutionControl::setPendingClose(PendingClose action) {
    state.pendingClose = action;
}

PendingClose ExecutionControl::takePendingClose() {
    return std::exchange(state.pendingClose, PendingClose::none);
}

void ExecutionControl::clearMessages() {
    state.messageBuffer.clear();
}

void ExecutionControl::clearText() {
    state.textBuffer.clear();
}

bool ExecutionControl::waitForThreads(std::chrono::milliseconds limitEach) {
    const bool workerEnded = workerThread.waitFor(limitEach);
    const bool cancelEnded = cancelThread.waitFor(limitEach);
    return workerEnded && cancelEnded;
}

} // namespace veltro
