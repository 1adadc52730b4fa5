#include "session/CChildFrame.h"

#include "app/CMainFrame.h"
#include "app/PromptService.h"
#include "completion/NameCompleter.h"
#include "driverinfo/CMyPropertySheet.h"
#include "editor/CQryView.h"
#include "editor/CVeltroDoc.h"
#include "execution/ExecutionControl.h"
#include "execution/SessionRuntime.h"
#include "results/CMSFlexGrid.h"
#include "results/CResultView.h"
#include "session/DatabaseContext.h"
#include "session/Session.h"
#include "session/SessionCommands.h"
#include "session/SessionStatusBar.h"
#include "session/SessionViewAdapter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>

namespace veltro {

namespace {

constexpr int commandRefreshMs = 250;
constexpr const char* cancelQuestion =
    "A query execution is in progress. Are you sure you wish to cancel this query?";

} // namespace

CChildFrame::CChildFrame(CMainFrame& mainFrame, SettingsStore& settingsStore, QWidget* parent)
    : QMainWindow(parent), frame(mainFrame), store(settingsStore) {
    adapter = std::make_unique<SessionViewAdapter>(*this, frame);
    runtime = SessionRuntime::create(store, *adapter, *adapter);
    database = std::make_unique<DatabaseContext>(runtime->session, *adapter);
    // The worker's messages arrive on its thread; they are handled on this one.
    std::weak_ptr<SessionRuntime> weak = runtime;
    runtime->loop.setWakeHandler([weak] {
        QMetaObject::invokeMethod(
            qApp,
            [weak] {
                if (const auto alive = weak.lock()) {
                    alive->loop.drain();
                }
            },
            Qt::QueuedConnection);
    });
    createPanes();
    status = std::make_unique<SessionStatusBar>(*statusBar(), *this);
    commands = std::make_unique<SessionCommands>(*this, frame, runtime->control.navigation());
    setUpShortcuts();
    connect(&adapter->execTimer(), &QTimer::timeout, this, [this] { runtime->control.onTimer(); });
    connect(&commandTimer, &QTimer::timeout, this, &CChildFrame::updateCommandStates);
    commandTimer.start(commandRefreshMs);
}

CChildFrame::~CChildFrame() {
    adapter->stopExecTimer();
    commandTimer.stop();
    // Grid widgets go with the pane; the stores stay with the runtime until its threads end.
    runtime->shutdown();
    frame.sessionDestroyed(this);
}

void CChildFrame::createPanes() {
    splitter = new QSplitter(Qt::Vertical, this);
    doc = new CVeltroDoc(this, this);
    editor = new CQryView(this, store, splitter);
    doc->attachView(editor);
    results = new CResultView(*this, splitter);
    splitter->addWidget(editor);
    splitter->addWidget(results);
    setCentralWidget(splitter);
    // Execute follows the text at once, so that F5 right after typing or pasting works.
    connect(editor, &QsciScintilla::textChanged, editor, &CQryView::updateCommandStates);
    connect(doc, &CVeltroDoc::titleChanged, this, [this](const QString& title) {
        setWindowTitle(title);
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
            sub->setWindowTitle(title);
        }
    });
}

// Every key the menus show works wherever the focus is in the session window: the
// session's and the editor's commands answer from the results pane too, and the editor
// gives up its own bindings of the program's keys. The results pane keeps its own Copy,
// Select All and Wrap Word keys.
void CChildFrame::setUpShortcuts() {
    QList<QKeySequence> keys = frame.menuShortcuts();
    for (QAction* command : commands->keyedCommands()) {
        if (!command->shortcuts().isEmpty()) {
            command->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            addAction(command);
            keys << command->shortcuts();
        }
    }
    editor->releaseScintillaKeys(keys);
    results->installEventFilter(this);
}

// Help texts go to pane 0, which takes the place of the status bar's message area.
bool CChildFrame::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        status->showTip(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool CChildFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == results && event->type() == QEvent::ShortcutOverride &&
        CMSFlexGrid::isPaneCommandKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

Session& CChildFrame::session() {
    return runtime->session;
}

ExecutionControl& CChildFrame::executionControl() {
    return runtime->control;
}

bool CChildFrame::isConnected() const {
    return runtime->session.isConnected();
}

QComboBox& CChildFrame::databaseComboBox() const {
    return commands->databaseBox();
}

QString CChildFrame::databaseBoxText() const {
    return databaseComboBox().currentText();
}

QString CChildFrame::paneText(int pane) const {
    return status->text(static_cast<std::size_t>(pane));
}

bool CChildFrame::Connect(const std::optional<std::string>& connectString,
                          const std::optional<std::string>& database) {
    const bool connected = runtime->session.Connect(connectString, database);
    if (connected && names == nullptr) {
        names = new NameCompleter(
            *editor, store, runtime->session,
            [this](const std::string& text) { setPaneText(0, text); }, this);
    }
    setPaneText(2, runtime->session.resultInfoText);
    updateCommandStates();
    return connected;
}

void CChildFrame::setPaneText(int pane, const std::string& text) {
    if (pane >= 0) {
        status->setText(static_cast<std::size_t>(pane), QString::fromUtf8(text));
    }
}

void CChildFrame::updateStatusPanes() {
    Session& s = runtime->session;
    const BatchState& batch = runtime->control.batch();
    if (!batch.executing() && s.statusText.empty()) {
        s.statusText = readyText;
    }
    setPaneText(0, s.statusText);
    setPaneText(1, s.execTimeText);
    if (!s.showsMessages() && !batch.textBuffer.empty()) {
        s.resultInfoText = ResultNavigation::linesOfTextInfo(results->lineCount());
    }
    setPaneText(2, s.resultInfoText);
    updateCaretPane();
}

void CChildFrame::updateCaretPane() {
    QString text;
    CMSFlexGrid* grid = results->currentGrid();
    if (resultsActive()) {
        if (grid != nullptr && results->gridOnShow()) {
            text = QString("Ln %1, Col %2").arg(grid->store().Row()).arg(grid->store().Col() + 1);
        } else {
            const QTextCursor cursor = results->textCursor();
            text = QString("Ln %1, Col %2")
                       .arg(cursor.blockNumber() + 1)
                       .arg(cursor.positionInBlock() + 1);
        }
    } else {
        const CQryView::LineColumn position = editor->caretLineColumn();
        text = QString("Ln %1, Col %2").arg(position.line).arg(position.column);
    }
    status->setText(3, text);
}

std::string CChildFrame::documentTitle() const {
    return doc->title().toStdString();
}

void CChildFrame::setDocumentTitle(const std::string& title) {
    doc->setTitle(QString::fromUtf8(title));
}

void CChildFrame::executeQuery() {
    executeBatch(BatchOutput::grids);
}

void CChildFrame::executeBatch(BatchOutput output) {
    if (!canExecute() || editor->isEmpty()) {
        return;
    }
    if (names != nullptr) {
        names->batchStarting(editor->batchText());
    }
    runtime->control.Execute(editor->textUtf8(), editor->selectionStart(), editor->selectionEnd(),
                             output);
    updateCommandStates();
}

void CChildFrame::cancelQuery() {
    if (!canCancel()) {
        return;
    }
    runtime->control.setPendingClose(PendingClose::none);
    runtime->control.Cancel();
    updateCommandStates();
}

bool CChildFrame::canExecute() const {
    return runtime->session.isConnected() && !runtime->control.batch().executing();
}

bool CChildFrame::canCancel() const {
    const BatchState& batch = runtime->control.batch();
    return runtime->session.isConnected() && batch.phase == BatchPhase::running &&
           runtime->session.capabilities().supportsCancel;
}

std::string CChildFrame::connectionName() const {
    return runtime->session.capabilities().dataSourceName;
}

void CChildFrame::setStatusText(const std::string& text) {
    setPaneText(0, text);
}

void CChildFrame::caretMoved() {
    updateCaretPane();
}

void CChildFrame::focusQueryEditor() {
    editor->setFocus();
}

bool CChildFrame::resultsActive() const {
    const CMSFlexGrid* grid = results->currentGrid();
    return results->hasFocus() || (grid != nullptr && grid->hasFocus());
}

std::optional<int> CChildFrame::shownGridRow() const {
    if (resultsActive() && results->gridOnShow()) {
        return results->currentGrid()->store().Row();
    }
    return std::nullopt;
}

QWidget* CChildFrame::activeTextPane() const {
    if (resultsActive()) {
        return results;
    }
    return editor;
}

void CChildFrame::setCaretText(const QString& text) {
    status->setText(3, text);
}

void CChildFrame::updateCommandStates() {
    const bool running = runtime->control.batch().executing();
    commands->updateCommandStates(isConnected(), running, database->boxEnabled(running));
    if (names != nullptr && !running) {
        names->batchEnded();
    }
    updateStatusPanes();
    status->checkPointer();
}

void CChildFrame::newQuery() {
    if (!isConnected()) {
        return;
    }
    // The button's help text would stay behind once the new window covers the button.
    status->showTip({});
    const std::string database = databaseBoxText().toStdString();
    if (frame.newConnection(std::nullopt, runtime->session.connectString, database) == nullptr) {
        PromptService::current().message(this, "Errors occurred.", PromptButtons::ok,
                                         PromptIcon::critical);
    }
}

void CChildFrame::showDriverInfo() {
    // The worker owns the connection while a batch runs.
    if (!isConnected() || runtime->control.batch().executing()) {
        return;
    }
    CMyPropertySheet sheet(runtime->session.connection, this);
    PromptService::current().runModal(sheet);
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    ExecutionControl& control = runtime->control;
    const BatchState& batch = control.batch();
    bool keepOpen = false;
    if (!batch.cancelRequested()) {
        if (QWidget* sub = parentWidget(); sub != nullptr && sub->isMinimized()) {
            sub->showNormal();
        }
        if (batch.executing()) {
            if (PromptService::current().message(this, cancelQuestion, PromptButtons::yesNo,
                                                 PromptIcon::question) != PromptAnswer::yes) {
                event->ignore();
                return;
            }
            // The batch may have completed while the question was open: then the window
            // closes now, as if it had been idle.
            if (batch.executing()) {
                if (!batch.cancelRequested()) {
                    control.setPendingClose(PendingClose::window);
                    control.Cancel();
                }
                keepOpen = true;
            }
        }
    } else if (batch.pendingClose == PendingClose::none) {
        control.setPendingClose(PendingClose::window);
    }
    if ((batch.cancelRequested() && !batch.cancelled) || keepOpen) {
        event->ignore();
        return;
    }
    if (!doc->saveModified()) {
        event->ignore();
        return;
    }
    event->accept();
}

void CChildFrame::RunPendingClose() {
    switch (runtime->control.takePendingClose()) {
    case PendingClose::application:
        frame.close();
        break;
    case PendingClose::allSessions:
        frame.disconnectAll();
        break;
    case PendingClose::window:
        if (QWidget* sub = parentWidget()) {
            sub->close();
        } else {
            close();
        }
        break;
    case PendingClose::none:
        break;
    }
}

void CChildFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // Each pane gets half the window's height.
    const int half = std::max(0, splitter->height() / 2);
    splitter->setSizes({half, splitter->height() - half});
}

} // namespace veltro
