#pragma once

#include "execution/WorkerContext.h"
#include "history/HistoryEntry.h"

#include <memory>
#include <string>

namespace veltro {

class ResultSink;

// What running a batch asks of the session window. The defaults do nothing, which is all a
// run without a window needs.
class ExecutionView {
public:
    virtual ~ExecutionView() = default;

    // Status pane texts: 0 status, 1 execution time, 2 result information.
    virtual void showPaneText(int pane, const std::string& text) {
        (void)pane;
        (void)text;
    }
    virtual void startExecTimer() {}
    virtual void stopExecTimer() {}
    virtual void setDatabaseBoxEnabled(bool enabled) { (void)enabled; }
    // The server named this database current at the end of a batch.
    virtual void showCurrentDatabase(const std::string& name) { (void)name; }

    virtual std::string documentTitle() const { return {}; }
    virtual void setDocumentTitle(const std::string& title) { (void)title; }
    // The results pane's title: the object whose source text it shows.
    virtual void setPaneTitle(const std::string& title) { (void)title; }

    // What makes a batch's result sinks, one per result set, on the worker's thread: grid
    // stores unless the view says otherwise. A maker's null answer fails the batch.
    virtual ResultSinkMaker resultSinkMaker();
    // A grid the worker made for a new result set: its window is made, hidden.
    virtual void addGridWindow(const std::shared_ptr<ResultSink>& grid) { (void)grid; }
    // The results pane's current grid: the one it shows or would show.
    virtual void setCurrentGrid(const ResultSink& grid) { (void)grid; }
    // The grid's row count changed.
    virtual void gridRowsChanged(const ResultSink& grid) { (void)grid; }
    // Destroys every grid window; the results pane then has no current grid.
    virtual void destroyGridWindows() {}
    virtual void setGridShown(const ResultSink& grid, bool shown) {
        (void)grid;
        (void)shown;
    }
    // Makes the grid the results pane's current one, at the pane's size, shown, with the
    // keyboard focus when the pane had it.
    virtual void presentGrid(const ResultSink& grid) { (void)grid; }
    virtual void repaintGrid(const ResultSink& grid) { (void)grid; }
    virtual void setResultsRedraw(bool on) { (void)on; }
    // The results pane's text, caret at its start; and its line count.
    virtual void setResultsText(const std::string& text) { (void)text; }
    virtual int resultsLineCount() const { return 0; }

    // The worker added to the session's message text, which now reads so; what was there
    // before is unchanged.
    virtual void messagesAdded(const std::string& messages) { (void)messages; }

    // A statement of the batch failed: the query editor puts its caret at the start of the
    // statement's first line (1-based, in the editor's text).
    virtual void showFailedStatement(int line) { (void)line; }

    // A batch is over: what the query history keeps of it.
    virtual void batchFinished(const HistoryEntry& entry) { (void)entry; }

    // Lets command states follow after a change; skipped while a close is pending.
    virtual void runIdle() {}
    // A close that waited for the cancel to finish.
    virtual void runPendingClose() {}
};

} // namespace veltro
