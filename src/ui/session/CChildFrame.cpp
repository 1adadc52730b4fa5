#include "session/CChildFrame.h"

#include "app/CMainFrame.h"
#include "app/IconFactory.h"
#include "app/PromptService.h"
#include "app/WaitCursor.h"
#include "catalog/ObjectCommands.h"
#include "completion/NameCompleter.h"
#include "driverinfo/CMyPropertySheet.h"
#include "editor/CQryView.h"
#include "editor/CVeltroDoc.h"
#include "results/CMSFlexGrid.h"
#include "results/CResultView.h"
#include "results/GridStore.h"
#include "session/DatabaseContext.h"
#include "session/ExecutionControl.h"
#include "session/Session.h"
#include "session/SessionRuntime.h"
#include "session/StatusTipPane.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>

namespace veltro {

namespace {

constexpr int commandRefreshMs = 250;
// About 250 pixels of drop-down list.
constexpr int databaseBoxVisibleItems = 15;
constexpr const char* cancelQuestion =
    "A query execution is in progress. Are you sure you wish to cancel this query?";

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text);
}

} // namespace

CChildFrame::CChildFrame(CMainFrame& mainFrame, SettingsStore& settingsStore, QWidget* parent)
    : QMainWindow(parent), frame(mainFrame), store(settingsStore) {
    runtime = SessionRuntime::create(store, *this, *this);
    database = std::make_unique<DatabaseContext>(runtime->session, *this);
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
    createToolBar();
    createStatusBar();
    driverInfoAction = new QAction("&ODBC Driver Info...", this);
    driverInfoAction->setShortcut(QKeySequence(Qt::Key_F10));
    driverInfoAction->setStatusTip("Display ODBC Driver Info");
    driverInfoAction->setToolTip("ODBC Driver Info (F10)");
    connect(driverInfoAction, &QAction::triggered, this, &CChildFrame::showDriverInfo);
    setUpShortcuts();
    connect(&execTimer, &QTimer::timeout, this, [this] { runtime->control.onTimer(); });
    connect(&commandTimer, &QTimer::timeout, this, &CChildFrame::updateCommandStates);
    commandTimer.start(commandRefreshMs);
}

CChildFrame::~CChildFrame() {
    execTimer.stop();
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

void CChildFrame::createToolBar() {
    toolBar = addToolBar("Session");
    toolBar->setMovable(true);
    toolBar->setIconSize(QSize(20, 20));
    toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    newQueryAction =
        toolBar->addAction(themedIcon("document-new", "+", QColor(0x2e, 0x7d, 0x32)), "&New Query");
    newQueryAction->setShortcut(QKeySequence("Ctrl+N"));
    newQueryAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    newQueryAction->setStatusTip("Open a new query/results set window with a connection to the "
                                 "same data source");
    newQueryAction->setToolTip("New Query (Ctrl+N)");
    connect(newQueryAction, &QAction::triggered, this, &CChildFrame::newQuery);
    toolBar->addAction(frame.openAction());
    toolBar->addAction(frame.saveAction());
    toolBar->addSeparator();
    const auto editorButton = [this](CQryView::Command command, const QString& iconName,
                                     const QString& glyph, const QColor& color) {
        QAction* action = editor->action(command);
        action->setIcon(themedIcon(iconName, glyph, color));
        toolBar->addAction(action);
    };
    const QColor editing(0x45, 0x5a, 0x64);
    editorButton(CQryView::Command::cut, "edit-cut", "X", editing);
    editorButton(CQryView::Command::copy, "edit-copy", "C", editing);
    editorButton(CQryView::Command::paste, "edit-paste", "P", editing);
    toolBar->addSeparator();
    editorButton(CQryView::Command::find, "edit-find", "F", editing);
    toolBar->addSeparator();
    objectsAction =
        toolBar->addAction(themedIcon("insert-object", "T", QColor(0x6a, 0x1b, 0x9a)), "Objects");
    objects = new ObjectCommands(*this, *toolBar, *objectsAction);
    toolBar->addSeparator();
    editorButton(CQryView::Command::execute, "media-playback-start", QString(QChar(0x25B6)),
                 QColor(0x2e, 0x7d, 0x32));
    editorButton(CQryView::Command::cancel, "process-stop", QString(QChar(0x25A0)),
                 QColor(0xc6, 0x28, 0x28));
    toolBar->addSeparator();
    databaseBox = new QComboBox(toolBar);
    databaseBox->setFixedWidth(205);
    databaseBox->setMaxVisibleItems(databaseBoxVisibleItems);
    databaseBox->setEnabled(false);
    databaseBox->setStatusTip("Change database context");
    databaseBox->setToolTip("Change Database Context");
    QFont boxFont = databaseBox->font();
    boxFont.setPixelSize(11);
    databaseBox->setFont(boxFont);
    toolBar->addWidget(databaseBox);
    // Only the user's choice counts: filling the box and selecting in it change nothing.
    connect(databaseBox, &QComboBox::activated, this, [this](int index) {
        database->SelectionChanged(index);
        updateCommandStates();
    });
    databaseFocusAction = new QAction("Database Context", this);
    databaseFocusAction->setShortcut(QKeySequence("Alt+D"));
    connect(databaseFocusAction, &QAction::triggered, this,
            [this] { databaseBox->setFocus(Qt::ShortcutFocusReason); });
    toolBar->addSeparator();
    ResultNavigation& nav = runtime->control.navigation();
    const auto navigationAction = [this](const QString& iconName, const QString& glyph,
                                         const QString& text, const QString& tip, auto step) {
        QAction* action =
            toolBar->addAction(themedIcon(iconName, glyph, QColor(0x15, 0x65, 0xc0)), text);
        action->setToolTip(tip);
        connect(action, &QAction::triggered, this, step);
        return action;
    };
    previousAction = navigationAction("go-previous", "<", "&Previous", "Previous Result Grid",
                                      [&nav] { nav.goPrevious(); });
    nextAction =
        navigationAction("go-next", ">", "&Next", "Next Result Grid", [&nav] { nav.goNext(); });
    firstAction = navigationAction("go-first", "|<", "&First", "First Result Grid",
                                   [&nav] { nav.goFirst(); });
    lastAction =
        navigationAction("go-last", ">|", "&Last", "Last Result Grid", [&nav] { nav.goLast(); });
    toolBar->addSeparator();
    messagesAction = toolBar->addAction(
        themedIcon("dialog-information", "M", QColor(0xef, 0x6c, 0x00)), "&Messages...");
    messagesAction->setShortcut(QKeySequence(Qt::Key_F4));
    messagesAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    messagesAction->setCheckable(true);
    messagesAction->setToolTip("Messages");
    connect(messagesAction, &QAction::triggered, this, [this, &nav] {
        nav.ToggleMessages();
        updateCommandStates();
    });
    toolBar->addSeparator();
    toolBar->addAction(frame.aboutAction());
}

void CChildFrame::createStatusBar() {
    const std::array<QString, 4> initial = {"<Pane text zero goes here>",
                                            "<Exec time info goes here>",
                                            "<Result set info goes here>", "Ln 1, Col 1"};
    for (std::size_t i = 0; i < panes.size(); ++i) {
        panes[i] = new QLabel(initial[i], this);
        if (i == 0) {
            // The stretching pane gives way to the others and cuts its own text instead.
            panes[i]->setMinimumWidth(1);
            panes[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            statusBar()->addWidget(panes[i], 1);
            statusTips = std::make_unique<StatusTipPane>(*panes[i]);
        } else {
            statusBar()->addPermanentWidget(panes[i]);
        }
    }
    // Room from the start for the texts every session shows (the placeholders above are
    // replaced before the window is first seen).
    const std::array<QString, 4> usualTexts = {QString(), "Exec time: 00:00:00",
                                               "Results grid #1 of 1; 100 row(s); 10 col(s)",
                                               "Ln 100, Col 10"};
    for (std::size_t i = 1; i < panes.size(); ++i) {
        fitPane(i, usualTexts[i]);
    }
    statusBar()->setSizeGripEnabled(false);
}

// A fixed pane is never narrower than its standard width, and grows to the longest text it
// has shown, so that no text is cut and the panes do not shift back and forth.
void CChildFrame::fitPane(std::size_t pane, const QString& text) {
    constexpr std::array<int, 4> standardWidths = {0, 100, 230, 100};
    QLabel* label = panes[pane];
    const int needed =
        label->fontMetrics().horizontalAdvance(text) + 2 * label->fontMetrics().averageCharWidth();
    const int width = std::max({standardWidths[pane], needed, label->minimumWidth()});
    if (width != label->minimumWidth()) {
        label->setMinimumWidth(width);
    }
}

// Every key the menus show works wherever the focus is in the session window: the
// session's and the editor's commands answer from the results pane too, and the editor
// gives up its own bindings of the program's keys. The results pane keeps its own Copy,
// Select All and Wrap Word keys.
void CChildFrame::setUpShortcuts() {
    QList<QKeySequence> keys = frame.menuShortcuts();
    QList<QAction*> commands = {newQueryAction,          messagesAction,
                                databaseFocusAction,     driverInfoAction,
                                objects->tablesAction(), objects->proceduresAction()};
    for (std::size_t i = 0; i < CQryView::commandCount; ++i) {
        commands << editor->action(static_cast<CQryView::Command>(i));
    }
    for (QAction* command : commands) {
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
        statusTips->showTip(static_cast<QStatusTipEvent*>(event)->tip());
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

QString CChildFrame::databaseBoxText() const {
    return databaseBox->currentText();
}

QString CChildFrame::paneText(int pane) const {
    return panes[static_cast<std::size_t>(pane)]->text();
}

bool CChildFrame::Connect(const std::optional<std::string>& connectString,
                          const std::optional<std::string>& database) {
    const bool connected = runtime->session.Connect(connectString, database);
    if (connected && names == nullptr) {
        names = new NameCompleter(
            *editor, store, runtime->session,
            [this](const std::string& text) { setPaneText(0, text); }, this);
    }
    showPaneText(2, runtime->session.resultInfoText);
    updateCommandStates();
    return connected;
}

void CChildFrame::setFrameStatusText(const std::string& text) {
    frame.setStatusText(fromUtf8(text));
}

void CChildFrame::beginWaitCursor() {
    ++waitDepth;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CChildFrame::endWaitCursor() {
    if (waitDepth > 0) {
        --waitDepth;
        QApplication::restoreOverrideCursor();
    }
}

void CChildFrame::setExecTimeText(const std::string& text) {
    showPaneText(1, text);
}

bool CChildFrame::askRetryConnect(const std::string& errorText) {
    return PromptService::current().message(this, fromUtf8(errorText), PromptButtons::retryCancel,
                                            PromptIcon::question) == PromptAnswer::retry;
}

std::optional<std::string> CChildFrame::promptConnectString() {
    return frame.promptDataSource(this);
}

void CChildFrame::setupDatabaseContext(Session&, const std::optional<std::string>& name) {
    database->setUp(name);
}

void CChildFrame::showDatabaseList(const DatabaseList& list) {
    const QSignalBlocker quiet(databaseBox);
    databaseBox->clear();
    for (const std::string& entry : list.entries()) {
        databaseBox->addItem(fromUtf8(entry));
    }
    databaseBox->setCurrentIndex(list.selected());
}

void CChildFrame::showDatabaseError(const std::string& text) {
    PromptService::current().message(this, fromUtf8(text), PromptButtons::ok, PromptIcon::critical);
}

void CChildFrame::showCurrentDatabase(const std::string& name) {
    database->applyCurrentDatabase(name);
}

void CChildFrame::showPaneText(int pane, const std::string& text) {
    setPaneText(pane, text);
}

void CChildFrame::setPaneText(int pane, const std::string& text) {
    if (pane >= 0 && pane < static_cast<int>(panes.size())) {
        setPaneLabel(static_cast<std::size_t>(pane), fromUtf8(text));
    }
}

void CChildFrame::setPaneLabel(std::size_t pane, const QString& text) {
    if (pane == 0) {
        statusTips->setStatusText(text);
        return;
    }
    if (panes[pane]->text() == text) {
        return;
    }
    panes[pane]->setText(text);
    fitPane(pane, text);
}

void CChildFrame::updateStatusPanes() {
    Session& s = runtime->session;
    if (!s.executing && s.statusText.empty()) {
        s.statusText = readyText;
    }
    setPaneText(0, s.statusText);
    setPaneText(1, s.execTimeText);
    if (!s.showsMessages() && !s.textBuffer.empty()) {
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
    setPaneLabel(3, text);
}

void CChildFrame::startExecTimer() {
    execTimer.start(1000);
}

void CChildFrame::stopExecTimer() {
    execTimer.stop();
}

void CChildFrame::setDatabaseBoxEnabled(bool enabled) {
    databaseBox->setEnabled(enabled);
}

std::string CChildFrame::documentTitle() const {
    return doc->title().toStdString();
}

void CChildFrame::setDocumentTitle(const std::string& title) {
    doc->setTitle(fromUtf8(title));
}

void CChildFrame::setPaneTitle(const std::string& title) {
    results->setPaneTitle(title);
}

void CChildFrame::addGridWindow(const std::shared_ptr<ResultSink>& grid) {
    results->createGrid(std::dynamic_pointer_cast<GridStore>(grid));
}

void CChildFrame::setCurrentGrid(const ResultSink& grid) {
    results->setCurrentGrid(results->gridFor(grid));
}

void CChildFrame::gridRowsChanged(const ResultSink& grid) {
    results->gridRowsChanged(grid);
}

void CChildFrame::destroyGridWindows() {
    results->destroyAllGrids();
}

void CChildFrame::setGridShown(const ResultSink& grid, bool shown) {
    results->setGridShown(grid, shown);
}

void CChildFrame::presentGrid(const ResultSink& grid) {
    results->showGrid(results->gridFor(grid));
}

void CChildFrame::repaintGrid(const ResultSink& grid) {
    results->repaintGrid(grid);
}

void CChildFrame::setResultsRedraw(bool on) {
    results->setRedraw(on);
}

void CChildFrame::setResultsText(const std::string& text) {
    results->setPaneText(text);
}

int CChildFrame::resultsLineCount() const {
    return results->lineCount();
}

void CChildFrame::showFailedStatement(int line) {
    editor->goToLine(line);
}

void CChildFrame::runIdle() {
    if (names != nullptr && !runtime->session.executing) {
        names->batchEnded();
    }
    updateCommandStates();
}

void CChildFrame::runPendingClose() {
    RunPendingClose();
}

void CChildFrame::executeQuery() {
    if (!canExecute() || editor->isEmpty()) {
        return;
    }
    if (names != nullptr) {
        names->batchStarting(editor->batchText());
    }
    runtime->control.Execute(editor->textUtf8(), editor->selectionStart(), editor->selectionEnd());
    updateCommandStates();
}

void CChildFrame::cancelQuery() {
    if (!canCancel()) {
        return;
    }
    runtime->session.closePending = false;
    runtime->control.Cancel();
    updateCommandStates();
}

bool CChildFrame::canExecute() const {
    return runtime->session.isConnected() && !runtime->session.executing;
}

bool CChildFrame::canCancel() const {
    const Session& s = runtime->session;
    return s.isConnected() && s.executing && !s.cancelRequested && s.supportsCancel;
}

std::string CChildFrame::connectionName() const {
    return runtime->session.dataSourceName;
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
    setPaneLabel(3, text);
}

void CChildFrame::updateCommandStates() {
    const ResultNavigation& nav = runtime->control.navigation();
    const bool connected = isConnected();
    newQueryAction->setEnabled(connected);
    databaseBox->setEnabled(database->boxEnabled());
    driverInfoAction->setEnabled(connected && !runtime->session.executing);
    previousAction->setEnabled(nav.canGoPrevious());
    firstAction->setEnabled(nav.canGoPrevious());
    nextAction->setEnabled(nav.canGoNext());
    lastAction->setEnabled(nav.canGoNext());
    messagesAction->setEnabled(nav.canToggleMessages());
    messagesAction->setChecked(nav.messagesChecked());
    objects->updateCommandStates();
    editor->updateCommandStates();
    updateStatusPanes();
    statusTips->checkPointer(*this);
}

void CChildFrame::fillEditMenu(QMenu& menu) {
    editor->updateCommandStates();
    using Command = CQryView::Command;
    for (const Command command : {Command::undo, Command::redo}) {
        menu.addAction(editor->action(command));
    }
    menu.addSeparator();
    for (const Command command :
         {Command::cut, Command::copy, Command::paste, Command::selectAll, Command::clearAll}) {
        menu.addAction(editor->action(command));
    }
    menu.addSeparator();
    for (const Command command : {Command::find, Command::findNext, Command::replace}) {
        menu.addAction(editor->action(command));
    }
    menu.addSeparator();
    for (const Command command : {Command::upperCase, Command::lowerCase, Command::tabify,
                                  Command::untabify, Command::wrapWord, Command::font}) {
        menu.addAction(editor->action(command));
    }
}

void CChildFrame::fillQueryMenu(QMenu& menu) {
    updateCommandStates();
    menu.addAction(editor->action(CQryView::Command::execute));
    menu.addAction(editor->action(CQryView::Command::cancel));
    menu.addSeparator();
    menu.addAction(newQueryAction);
    if (names != nullptr) {
        menu.addAction(names->completeAction());
        menu.addAction(names->refreshAction());
    }
    QMenu* objectMenu = menu.addMenu("&Objects");
    objectMenu->addAction(objects->tablesAction());
    objectMenu->addAction(objects->proceduresAction());
    menu.addAction(messagesAction);
    QMenu* grids = menu.addMenu("Results &Grid");
    for (QAction* action : {previousAction, nextAction, firstAction, lastAction}) {
        grids->addAction(action);
    }
    menu.addSeparator();
    menu.addAction(driverInfoAction);
}

void CChildFrame::fillResultsMenu(QMenu& menu) {
    const auto add = [&menu](const QString& text, bool enabled, auto run) {
        QAction* action = menu.addAction(text, run);
        action->setEnabled(enabled);
        return action;
    };
    CResultView& pane = *results;
    add("&Copy", pane.canCopy(), [&pane] { pane.onEditCopy(); });
    add("&Select All", pane.canSelectAll(), [&pane] { pane.onEditSelectAll(); });
    menu.addSeparator();
    add("Save &As...", true, [&pane] { pane.onFileSaveAs(); });
    add("Save S&election...", pane.gridOnShow(), [&pane] { pane.onSaveSelection(); });
    add("&Print...", pane.canPrint(), [&pane] { pane.onFilePrint(); });
    menu.addSeparator();
    QAction* wrap = add("&Wrap Word To Window", pane.canWrapWord(), [&pane] { pane.onWrapWord(); });
    wrap->setCheckable(true);
    wrap->setChecked(pane.wrapWordChecked());
    add("&Font...", true, [&pane] { pane.onFont(); });
    add("Clear A&ll", pane.canClearAll(), [&pane] { pane.onClearAll(); });
}

void CChildFrame::newQuery() {
    if (!isConnected()) {
        return;
    }
    // The button's help text would stay behind once the new window covers the button.
    statusTips->showTip({});
    const std::string database = databaseBox->currentText().toStdString();
    if (frame.newConnection(std::nullopt, runtime->session.connectString, database) == nullptr) {
        PromptService::current().message(this, "Errors occurred.", PromptButtons::ok,
                                         PromptIcon::critical);
    }
}

void CChildFrame::showDriverInfo() {
    // The worker owns the connection while a batch runs.
    if (!isConnected() || runtime->session.executing) {
        return;
    }
    CMyPropertySheet sheet(runtime->session.connection, this);
    PromptService::current().runModal(sheet);
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    Session& s = runtime->session;
    bool keepOpen = false;
    if (!s.cancelRequested) {
        if (QWidget* sub = parentWidget(); sub != nullptr && sub->isMinimized()) {
            sub->showNormal();
        }
        if (s.executing) {
            if (PromptService::current().message(this, cancelQuestion, PromptButtons::yesNo,
                                                 PromptIcon::question) != PromptAnswer::yes) {
                event->ignore();
                return;
            }
            // The batch may have completed while the question was open: then the window
            // closes now, as if it had been idle.
            if (s.executing) {
                if (!s.cancelRequested) {
                    s.closePending = true;
                    runtime->control.Cancel();
                }
                keepOpen = true;
            }
        }
    } else {
        s.closePending = true;
    }
    if ((s.cancelRequested && s.cancelled == 0) || keepOpen) {
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
    Session& s = runtime->session;
    if (s.exitPending) {
        s.exitPending = false;
        frame.close();
    } else if (s.disconnectAllPending) {
        s.disconnectAllPending = false;
        frame.disconnectAll();
    } else if (s.closePending) {
        s.closePending = false;
        if (QWidget* sub = parentWidget()) {
            sub->close();
        } else {
            close();
        }
    }
}

void CChildFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // Each pane gets half the window's height.
    const int half = std::max(0, splitter->height() / 2);
    splitter->setSizes({half, splitter->height() - half});
}

} // namespace veltro
