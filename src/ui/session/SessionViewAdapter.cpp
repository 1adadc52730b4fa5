#include "session/SessionViewAdapter.h"

#include "app/CMainFrame.h"
#include "app/PromptService.h"
#include "editor/CQryView.h"
#include "editor/CVeltroDoc.h"
#include "results/CResultView.h"
#include "results/GridStore.h"
#include "session/CChildFrame.h"
#include "session/DatabaseContext.h"
#include "session/DatabaseList.h"

#include <QApplication>
#include <QComboBox>

namespace veltro {

SessionViewAdapter::SessionViewAdapter(CChildFrame& sessionWindow, CMainFrame& mainFrame)
    : window(sessionWindow), frame(mainFrame) {}

void SessionViewAdapter::setFrameStatusText(const std::string& text) {
    frame.setStatusText(QString::fromUtf8(text));
}

void SessionViewAdapter::beginWaitCursor() {
    ++waitDepth;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void SessionViewAdapter::endWaitCursor() {
    if (waitDepth > 0) {
        --waitDepth;
        QApplication::restoreOverrideCursor();
    }
}

void SessionViewAdapter::setExecTimeText(const std::string& text) {
    window.setPaneText(1, text);
}

bool SessionViewAdapter::askRetryConnect(const std::string& errorText) {
    return PromptService::current().message(&window, QString::fromUtf8(errorText),
                                            PromptButtons::retryCancel,
                                            PromptIcon::question) == PromptAnswer::retry;
}

std::optional<std::string> SessionViewAdapter::promptConnectString() {
    return frame.promptDataSource(&window);
}

void SessionViewAdapter::setupDatabaseContext(Session&, const std::optional<std::string>& name) {
    window.databaseContext().setUp(name);
}

void SessionViewAdapter::showPaneText(int pane, const std::string& text) {
    window.setPaneText(pane, text);
}

void SessionViewAdapter::startExecTimer() {
    timer.start(1000);
}

void SessionViewAdapter::stopExecTimer() {
    timer.stop();
}

void SessionViewAdapter::setDatabaseBoxEnabled(bool enabled) {
    window.databaseComboBox().setEnabled(enabled);
}

void SessionViewAdapter::showCurrentDatabase(const std::string& name) {
    window.databaseContext().applyCurrentDatabase(name);
}

std::string SessionViewAdapter::documentTitle() const {
    return window.documentTitle();
}

void SessionViewAdapter::setDocumentTitle(const std::string& title) {
    window.setDocumentTitle(title);
}

void SessionViewAdapter::setPaneTitle(const std::string& title) {
    window.resultView().setPaneTitle(title);
}

void SessionViewAdapter::addGridWindow(const std::shared_ptr<ResultSink>& grid) {
    window.resultView().createGrid(std::dynamic_pointer_cast<GridStore>(grid));
}

void SessionViewAdapter::setCurrentGrid(const ResultSink& grid) {
    CResultView& results = window.resultView();
    results.setCurrentGrid(results.gridFor(grid));
}

void SessionViewAdapter::gridRowsChanged(const ResultSink& grid) {
    window.resultView().gridRowsChanged(grid);
}

void SessionViewAdapter::destroyGridWindows() {
    window.resultView().destroyAllGrids();
}

void SessionViewAdapter::setGridShown(const ResultSink& grid, bool shown) {
    window.resultView().setGridShown(grid, shown);
}

void SessionViewAdapter::presentGrid(const ResultSink& grid) {
    CResultView& results = window.resultView();
    results.showGrid(results.gridFor(grid));
}

void SessionViewAdapter::repaintGrid(const ResultSink& grid) {
    window.resultView().repaintGrid(grid);
}

void SessionViewAdapter::setResultsRedraw(bool on) {
    window.resultView().setRedraw(on);
}

void SessionViewAdapter::setResultsText(const std::string& text) {
    window.resultView().setPaneText(text);
}

int SessionViewAdapter::resultsLineCount() const {
    return window.resultView().lineCount();
}

void SessionViewAdapter::showFailedStatement(int line) {
    window.queryView().goToLine(line);
}

void SessionViewAdapter::runIdle() {
    window.updateCommandStates();
}

void SessionViewAdapter::runPendingClose() {
    window.RunPendingClose();
}

void SessionViewAdapter::batchFinished(const HistoryEntry& entry) {
    emit window.batchRecorded(entry);
}

void SessionViewAdapter::showDatabaseList(const DatabaseList& list) {
    QComboBox& box = window.databaseComboBox();
    const QSignalBlocker quiet(&box);
    box.clear();
    for (const std::string& entry : list.entries()) {
        box.addItem(QString::fromUtf8(entry));
    }
    box.setCurrentIndex(list.selected());
}

void SessionViewAdapter::showDatabaseError(const std::string& text) {
    PromptService::current().message(&window, QString::fromUtf8(text), PromptButtons::ok,
                                     PromptIcon::critical);
}

} // namespace veltro
