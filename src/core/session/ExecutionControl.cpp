#include "session/ExecutionControl.h"

#include "common/TextCompare.h"
#include "common/TickCount.h"
#include "results/BatchWorker.h"
#include "results/CRecordsetEx.h"
#include "results/GridStore.h"
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
        CompleteBatch(1);
        session.textMode = false;
        return false;
    }
    session.workerContext.batchText = batchText;
    if (!session.textMode) {
        session.workerContext.grid.reset();
    }
    std::string failure;
    const bool started = workerThread.start(
        [this, textMode = session.textMode, owner = keepAlive.lock()] {
            if (textMode) {
                TextFetchWorker(session.workerContext, host).run();
            } else {
                BatchWorker(session.workerContext, host).run();
            }
        },
        session.threadPriority, failure);
    if (!started) {
        appendMessage(session.messageBuffer, "The batch could not be started: " + failure);
        if (session.textMode) {
            onTextFetchDone(1);
        } else {
            CompleteBatch(1);
        }
    }
    return started;
}

int ExecutionControl::onNewGrid(int columnCount) {
    if (!windowExists()) {
        return 0;
    }
    auto grid = std::make_shared<GridStore>();
    session.workerContext.grid.reset();
    if (!view->createGridWindow(grid)) {
        return -1;
    }
    ++session.nextGridId;
    view->setGridShown(*grid, false);
    session.gridList.push_back(grid);
    session.gridCount = static_cast<int>(session.gridList.size());
    session.workerContext.grid = grid;
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
    if (!grid->SetCols(0) || !grid->SetRows(1) || !grid->SetCols(columnCount)) {
        return -1;
    }
    if (session.gridCount == 2) {
        session.currentGridNumber = 1;
        if (!session.showsMessages()) {
            results.ShowGrid(1);
        }
        noteCompletionIdle();
    }
    return 0;
}

int ExecutionControl::onGridRows(int rows) {
    const std::shared_ptr<GridStore> grid = session.workerContext.grid;
    if (!windowExists() || !grid) {
        return 0;
    }
    view->setResultsRedraw(false);
    grid->SetRedraw(false);
    const bool resized = grid->SetRows(rows);
    grid->SetRedraw(true);
    view->setResultsRedraw(true);
    if (resized) {
        view->gridRowsChanged(*grid);
    }
    if (!resized) {
        return -1;
    }
    if (session.gridCount == 1 && !session.showsMessages()) {
        view->setGridShown(*grid, true);
    }
    return 0;
}

void ExecutionControl::CompleteBatch(int errorFlag) {
    if (!windowExists() || session.completionHandled) {
        return;
    }
    session.completionHandled = true;
    closeQuietly(*session.batchRecordset);

    if (session.textMode) {
        if (!session.textBuffer.empty() && !session.showsMessages()) {
            view->setResultsText(session.textBuffer);
            session.resultInfoText = ResultNavigation::linesOfTextInfo(view->resultsLineCount());
            view->showPaneText(resultPane, session.resultInfoText);
        }
    } else if (session.gridCount != 0) {
        results.UpdateResultInfo();
        GridStore& last = *session.gridList.back();
        last.SetRedraw(true);
        view->setResultsRedraw(true);
        if (!session.showsMessages()) {
            view->setGridShown(last, true);
        }
    }

    const bool noResult = session.textMode ? session.textBuffer.empty() : session.gridCount == 0;
    if (session.cancelled) {
        session.statusText = canceledText;
        appendMessage(session.messageBuffer, canceledByUserText);
    } else if (errorFlag == 0) {
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
    session.UpdateExecTime();
    view->stopExecTimer();
    session.executing = false;
    session.cancelRequested = false;
    session.cancelled = 0;
    noteCompletionIdle();
}

void ExecutionControl::onTextFetchDone(int errorFlag) {
    CompleteBatch(errorFlag);
    session.textMode = false;
}

void ExecutionControl::onCancelDone() {
    view->runPendingClose();
}

void ExecutionControl::onRepaintGrid() {
    if (windowExists() && session.workerContext.grid) {
        view->repaintGrid(*session.workerContext.grid);
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
    std::string failure;
    if (!cancelThread.start([this, owner = keepAlive.lock()] { CancelWorker(); }, priorityNormal,
                            failure)) {
        // Without a cancel thread the flag alone stops the worker at its next check.
        session.cancelled = 1;
    }
}

void ExecutionControl::CancelWorker() {
    // The flag goes up before the cancel request, so that the error the cancelled call
    // returns is taken for the cancel it is and not reported as a failure of the batch.
    session.cancelled = 1;
    try {
        // The recordset cancels only while it has a statement; on this DBMS the worker
        // stops on the flag alone.
        if (!equalsNoCase(session.dbmsName, "Sybase SQL Anywhere")) {
            session.batchRecordset->Cancel();
        }
    } catch (...) {
        // The batch still ends through the worker's completion message.
    }
    host.postCancelDone();
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
    view->stopExecTimer();
}

bool ExecutionControl::waitForThreads(std::chrono::milliseconds limitEach) {
    const bool workerEnded = workerThread.waitFor(limitEach);
    const bool cancelEnded = cancelThread.waitFor(limitEach);
    return workerEnded && cancelEnded;
}

} // namespace veltro
