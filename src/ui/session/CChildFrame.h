#pragma once

#include "editor/GoToSession.h"
#include "editor/QueryViewOwner.h"
#include "execution/BatchState.h"
#include "history/HistoryEntry.h"
#include "results/ResultViewOwner.h"

#include <QMainWindow>
#include <QTimer>

#include <memory>
#include <optional>

class QComboBox;
class QSplitter;

namespace veltro {

class CMainFrame;
class CQryView;
class CResultView;
class CVeltroDoc;
class DatabaseContext;
class ExecutionControl;
class NameCompleter;
class Session;
class SessionRuntime;
class SessionCommands;
class SessionStatusBar;
class SessionViewAdapter;

// A session window: one connection with its query editor above, its results pane below,
// its own tool bar with the database box and a four-pane status bar. It carries the
// session's batches between the user, the execution control and the panes.
class CChildFrame : public QMainWindow,
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
    QComboBox& databaseComboBox() const;
    DatabaseContext& databaseContext() const { return *database; }
    // Null until the session has connected.
    NameCompleter* nameCompleter() const { return names; }

    // Carries out at most one close that waited for a cancel to finish.
    void RunPendingClose();
    // The tool bar's and the session menus' commands.
    SessionCommands& sessionCommands() const { return *commands; }

    // The pane texts as the status bar shows them.
    QString paneText(int pane) const;

    // QueryViewOwner
    void executeQuery() override;
    // Runs the editor's selection or text; the object commands ask for text output.
    void executeBatch(BatchOutput output);
    void cancelQuery() override;
    bool canExecute() const override;
    bool canCancel() const override;
    std::string connectionName() const override;
    void setStatusText(const std::string& text) override;
    void caretMoved() override;

    // ResultViewOwner
    SettingsStore& settings() override { return store; }
    void setPaneText(int pane, const std::string& text) override;
    std::string documentTitle() const override;
    void setDocumentTitle(const std::string& title) override;
    void updateStatusPanes() override;
    void focusQueryEditor() override;

    // GoToSession
    std::optional<int> shownGridRow() const override;
    QWidget* activeTextPane() const override;
    void setCaretText(const QString& text) override;

signals:
    // A batch is over: what the query history keeps of it.
    void batchRecorded(const veltro::HistoryEntry& entry);

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
    void setUpShortcuts();
    void createPanes();
    void updateCaretPane();
    bool resultsActive() const;

    CMainFrame& frame;
    SettingsStore& store;
    // Declared first: the runtime and the database context refer to it until they end.
    std::unique_ptr<SessionViewAdapter> adapter;
    std::shared_ptr<SessionRuntime> runtime;
    std::unique_ptr<DatabaseContext> database;
    CVeltroDoc* doc = nullptr;
    CQryView* editor = nullptr;
    CResultView* results = nullptr;
    QSplitter* splitter = nullptr;
    std::unique_ptr<SessionCommands> commands;
    std::unique_ptr<SessionStatusBar> status;
    QTimer commandTimer;
    NameCompleter* names = nullptr;
};

} // namespace veltro
