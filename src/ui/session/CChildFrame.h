#pragma once

#include "editor/GoToSession.h"
#include "editor/QueryViewOwner.h"
#include "results/ResultViewOwner.h"
#include "session/DatabaseBoxView.h"
#include "session/ExecutionView.h"
#include "session/SessionHost.h"

#include <QMainWindow>
#include <QTimer>

#include <array>
#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;

namespace veltro {

class CMainFrame;
class CQryView;
class CResultView;
class CVeltroDoc;
class DatabaseContext;
class ExecutionControl;
class NameCompleter;
class ObjectCommands;
class Session;
class SessionRuntime;
class StatusTipPane;

// A session window: one connection with its query editor above, its results pane below,
// its own tool bar with the database box and a four-pane status bar. It carries the
// session's batches between the user, the execution control and the panes.
class CChildFrame : public QMainWindow,
                    public SessionHost,
                    public ExecutionView,
                    public DatabaseBoxView,
                    public QueryViewOwner,
                    public ResultViewOwner,
                    public GoToSession {
    Q_OBJECT
public:
    CChildFrame(CMainFrame& mainFrame, SettingsStore& settings, QWidget* parent = nullptr);
    ~CChildFrame() override;

    bool Connect(const std::optional<std::string>& connectString,
                 const std::optional<std::string>& database);
    CVeltroDoc& document() const { return *doc; }
    CQryView& queryView() const { return *editor; }
    CResultView& resultView() const { return *results; }
    Session& session() override;
    ExecutionControl& executionControl() override;
    bool isConnected() const;
    QString databaseBoxText() const;
    QComboBox& databaseComboBox() const { return *databaseBox; }
    DatabaseContext& databaseContext() const { return *database; }
    // Null until the session has connected.
    NameCompleter* nameCompleter() const { return names; }

    // Carries out at most one close that waited for a cancel to finish.
    void RunPendingClose();
    // The session's menus, filled anew each time they open.
    void fillEditMenu(QMenu& menu);
    void fillQueryMenu(QMenu& menu);
    void fillResultsMenu(QMenu& menu);

    // The pane texts as the status bar shows them.
    QString paneText(int pane) const;

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

    // DatabaseBoxView
    void showDatabaseList(const DatabaseList& list) override;
    void showDatabaseError(const std::string& text) override;

    // QueryViewOwner
    void executeQuery() override;
    void cancelQuery() override;
    bool canExecute() const override;
    bool canCancel() const override;
    std::string connectionName() const override;
    void setStatusText(const std::string& text) override;
    void caretMoved() override;

    // ResultViewOwner
    SettingsStore& settings() override { return store; }
    void setPaneText(int pane, const std::string& text) override;
    void updateStatusPanes() override;
    void focusQueryEditor() override;

    // GoToSession
    std::optional<int> shownGridRow() const override;
    QWidget* activeTextPane() const override;
    void setCaretText(const QString& text) override;

public slots:
    void updateCommandStates();
    void newQuery();
    // The ODBC Driver Info sheet on this session's connection.
    void showDriverInfo();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createToolBar();
    void createStatusBar();
    void setUpShortcuts();
    void setPaneLabel(std::size_t pane, const QString& text);
    void fitPane(std::size_t pane, const QString& text);
    void createPanes();
    void updateCaretPane();
    bool resultsActive() const;

    CMainFrame& frame;
    SettingsStore& store;
    std::shared_ptr<SessionRuntime> runtime;
    std::unique_ptr<DatabaseContext> database;
    CVeltroDoc* doc = nullptr;
    CQryView* editor = nullptr;
    CResultView* results = nullptr;
    QSplitter* splitter = nullptr;
    QToolBar* toolBar = nullptr;
    QComboBox* databaseBox = nullptr;
    std::array<QLabel*, 4> panes{};
    std::unique_ptr<StatusTipPane> statusTips;
    QTimer execTimer;
    QTimer commandTimer;
    int waitDepth = 0;

    QAction* newQueryAction = nullptr;
    QAction* databaseFocusAction = nullptr;
    QAction* objectsAction = nullptr;
    ObjectCommands* objects = nullptr;
    NameCompleter* names = nullptr;
    QAction* previousAction = nullptr;
    QAction* nextAction = nullptr;
    QAction* firstAction = nullptr;
    QAction* lastAction = nullptr;
    QAction* messagesAction = nullptr;
    QAction* driverInfoAction = nullptr;
};

} // namespace veltro
