#pragma once

#include "execution/ExecutionView.h"
#include "session/DatabaseBoxView.h"
#include "session/SessionHost.h"

#include <QTimer>

namespace veltro {

class CChildFrame;
class CMainFrame;

// What the session record, its execution control and its database context ask of the
// session window, answered by the window's panes, tool bar and status bar.
class SessionViewAdapter : public SessionHost, public ExecutionView, public DatabaseBoxView {
public:
    SessionViewAdapter(CChildFrame& window, CMainFrame& mainFrame);
    SessionViewAdapter(const SessionViewAdapter&) = delete;
    SessionViewAdapter& operator=(const SessionViewAdapter&) = delete;

    // The execution-time pane's timer, which ticks while a batch runs.
    QTimer& execTimer() { return timer; }

    // SessionHost (the wait cursor serves the database box too)
    void setFrameStatusText(const std::string& text) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;
    void setExecTimeText(const std::string& text) override;
    bool askRetryConnect(const std::string& errorText) override;
    std::optional<std::string> promptConnectString() override;
    void setupDatabaseContext(Session& session,
                              const std::optional<std::string>& database) override;

    // ExecutionView (enabling the database box serves the box too)
    void showPaneText(int pane, const std::string& text) override;
    void startExecTimer() override;
    void stopExecTimer() override;
    void setDatabaseBoxEnabled(bool enabled) override;
    void showCurrentDatabase(const std::string& name) override;
    std::string documentTitle() const override;
    void setDocumentTitle(const std::string& title) override;
    void setPaneTitle(const std::string& title) override;
    void addGridWindow(const std::shared_ptr<ResultSink>& grid) override;
    void setCurrentGrid(const ResultSink& grid) override;
    void gridRowsChanged(const ResultSink& grid) override;
    void destroyGridWindows() override;
    void setGridShown(const ResultSink& grid, bool shown) override;
    void presentGrid(const ResultSink& grid) override;
    void repaintGrid(const ResultSink& grid) override;
    void setResultsRedraw(bool on) override;
    void setResultsText(const std::string& text) override;
    int resultsLineCount() const override;
    void showFailedStatement(int line) override;
    void runIdle() override;
    void runPendingClose() override;
    void batchFinished(const HistoryEntry& entry) override;

    // DatabaseBoxView
    void showDatabaseList(const DatabaseList& list) override;
    void showDatabaseError(const std::string& text) override;

private:
    CChildFrame& window;
    CMainFrame& frame;
    QTimer timer;
    int waitDepth = 0;
};

} // namespace veltro
