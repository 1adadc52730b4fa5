#include "app/CMainFrame.h"

#include "app/CAboutDlg.h"
#include "app/ClientArea.h"
#include "app/DataSourceDialog.h"
#include "app/IconFactory.h"
#include "app/PrinterSetup.h"
#include "app/PromptService.h"
#include "app/WaitCursor.h"
#include "app/WindowPlacement.h"
#include "cli/CommandLine.h"
#include "editor/CGoToDlg.h"
#include "editor/CQryView.h"
#include "editor/CVeltroDoc.h"
#include "execution/ExecutionControl.h"
#include "odbc/DataSourcePrompt.h"
#include "options/CGeneralPage.h"
#include "options/COptionsSheet.h"
#include "session/CChildFrame.h"
#include "session/Session.h"
#include "session/SessionCommands.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include <functional>

namespace veltro {

namespace {

constexpr const char* connectionLimitText =
    "Connection limit reached. You must close some connections "
    "before attempting to open any more connections.";
constexpr const char* readMeMissingText = "Readme.txt not found in the current working directory.";
constexpr const char* recentSection = "Recent File List";

// Untitled query names count on across the whole run, closed sessions included.
int newQueryCounter = 0;

const QColor fileColor(0x45, 0x5a, 0x64);

} // namespace

CMainFrame::CMainFrame(SettingsStore& settings, QWidget* parent)
    : QMainWindow(parent), store(settings), area(new ClientArea(this)),
      messagePane(new QLabel(this)), countPane(new QLabel(this)) {
    setWindowTitle("Veltro (using ODBC)");
    setWindowIcon(applicationIcon());
    setCentralWidget(area);
    setAcceptDrops(true);
    createMenus();
    createStatusBar();
    connect(area, &QMdiArea::subWindowActivated, this, &CMainFrame::updateCommandStates);
    auto* refresh = new QTimer(this);
    connect(refresh, &QTimer::timeout, this, &CMainFrame::updateCommandStates);
    refresh->start(250);
    updateConnectionCount();
    updateCommandStates();
}

CMainFrame::~CMainFrame() {
    // Sessions go before the frame they report to.
    for (QMdiSubWindow* sub : area->subWindowList()) {
        delete sub;
    }
}

void CMainFrame::createMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    QAction* connectAction = file->addAction("Connec&t...", this, &CMainFrame::connectNew);
    connectAction->setShortcut(QKeySequence("Ctrl+T"));
    connectAction->setIcon(themedIcon("network-server", "+", fileColor));
    fileOpenAction = file->addAction("&Open...", this, &CMainFrame::openFileCommand);
    fileOpenAction->setShortcut(QKeySequence::Open);
    fileOpenAction->setToolTip("Open (Ctrl+O)");
    fileOpenAction->setIcon(themedIcon("document-open", "O", fileColor));
    fileSaveAction = file->addAction("&Save", this, [this] {
        if (CChildFrame* session = activeSession()) {
            if (session->document().save()) {
                addRecentFile(session->document().pathName());
            }
        }
    });
    fileSaveAction->setShortcut(QKeySequence::Save);
    fileSaveAction->setIcon(themedIcon("document-save", "S", fileColor));
    fileSaveAsAction = file->addAction("Save &As...", this, [this] {
        if (CChildFrame* session = activeSession()) {
            if (session->document().saveAs()) {
                addRecentFile(session->document().pathName());
            }
        }
    });
    fileSaveAsAction->setIcon(themedIcon("document-save-as", "A", fileColor));
    QAction* printAction = file->addAction("&Print...", this, [this] {
        if (CChildFrame* session = activeSession()) {
            session->queryView().printQuery();
        }
    });
    printAction->setShortcut(QKeySequence::Print);
    printAction->setIcon(themedIcon("document-print", "P", fileColor));
    needsSession << printAction;
    file->addAction(themedIcon("document-page-setup", "U", fileColor), "Print Set&up...", this,
                    [this] { runPrintSetup(this); });
    file->addSeparator();
    QAction* configureAction = file->addAction("&Configure...", this, &CMainFrame::configure);
    configureAction->setStatusTip(
        "Configure login and query timeout values, and query execution thread priority");
    configureAction->setIcon(themedIcon("preferences-system", "C", fileColor));
    file->addSeparator();
    QAction* recoverAction =
        file->addAction("Recover &Unsaved Queries...", this, &CMainFrame::recoveryRequested);
    recoverAction->setStatusTip("Restore queries left unsaved when Veltro ended unexpectedly");
    recoverAction->setIcon(themedIcon("document-revert", "U", fileColor));
    file->addSeparator();
    recentMenu = file->addMenu("Recent &Files");
    rebuildRecentFiles();
    file->addSeparator();
    disconnectAction = file->addAction("&Disconnect", this, &CMainFrame::disconnectActive);
    disconnectAction->setShortcut(QKeySequence("Ctrl+F4"));
    disconnectAction->setIcon(themedIcon("network-offline", "D", fileColor));
    file->addAction("D&isconnect All", this, &CMainFrame::disconnectAll);
    file->addSeparator();
    file->addAction(themedIcon("application-exit", "X", fileColor), "E&xit", this, &QWidget::close);

    // The session menus follow the active session window each time they open.
    // Without a session they have nothing to offer and are not shown.
    const auto sessionMenu = [this](const QString& title, void (SessionCommands::*fill)(QMenu&)) {
        QMenu* menu = menuBar()->addMenu(title);
        sessionMenus << menu;
        connect(menu, &QMenu::aboutToShow, this, [this, menu, fill] {
            menu->clear();
            if (CChildFrame* session = activeSession()) {
                (session->sessionCommands().*fill)(*menu);
            }
        });
    };
    sessionMenu("&Edit", &SessionCommands::fillEditMenu);
    sessionMenu("&Query", &SessionCommands::fillQueryMenu);
    sessionMenu("&Results", &SessionCommands::fillResultsMenu);

    QMenu* window = menuBar()->addMenu("&Window");
    nextWindowAction = window->addAction("Ne&xt", area, &QMdiArea::activateNextSubWindow);
    previousWindowAction =
        window->addAction("Pre&vious", area, &QMdiArea::activatePreviousSubWindow);
    needsSession << window->addAction("&Cascade", area, &QMdiArea::cascadeSubWindows);
    needsSession << window->addAction("Tile &Horizontally", area, &QMdiArea::tileSubWindows);
    needsSession << window->addAction("&Tile Vertically", area, [this] {
        // Side by side: each window the full height and an equal share of the width.
        const QList<QMdiSubWindow*> windows = area->subWindowList();
        const int width = windows.isEmpty() ? 0 : area->viewport()->width() / windows.size();
        for (int i = 0; i < windows.size(); ++i) {
            windows[i]->showNormal();
            windows[i]->setGeometry(i * width, 0, width, area->viewport()->height());
        }
    });
    needsSession << window->addAction("&Arrange Icons", area, [this] {
        int x = 0;
        for (QMdiSubWindow* sub : area->subWindowList()) {
            if (sub->isMinimized()) {
                sub->move(x, area->viewport()->height() - sub->height());
                x += sub->width();
            }
        }
    });
    window->addSeparator();
    QAction* goToAction = window->addAction("&Go To...", this, &CMainFrame::showGoTo);
    goToAction->setShortcut(QKeySequence("Ctrl+G"));
    goToAction->setIcon(themedIcon("go-jump", "G", fileColor));
    QAction* historyAction =
        window->addAction("Query &History...", this, &CMainFrame::historyRequested);
    historyAction->setShortcut(QKeySequence("Ctrl+Shift+H"));
    historyAction->setStatusTip("Find, copy or open the queries run before");
    historyAction->setIcon(themedIcon("document-open-recent", "H", fileColor));
    needsSession << goToAction << fileOpenAction;

    QMenu* help = menuBar()->addMenu("&Help");
    help->addAction(themedIcon("help-contents", "R", fileColor), "&Read Me...", this,
                    &CMainFrame::showReadMe);
    helpAboutAction =
        help->addAction("&About Veltro (using ODBC)...", this, &CMainFrame::showAbout);
    helpAboutAction->setIcon(themedIcon("help-about", "?", QColor(0x15, 0x65, 0xc0)));
}

QList<QKeySequence> CMainFrame::menuShortcuts() const {
    QList<QKeySequence> keys;
    const std::function<void(const QMenu*)> collect = [&](const QMenu* menu) {
        for (const QAction* action : menu->actions()) {
            keys << action->shortcuts();
            if (action->menu() != nullptr) {
                collect(action->menu());
            }
        }
    };
    for (const QAction* top : menuBar()->actions()) {
        if (top->menu() != nullptr) {
            collect(top->menu());
        }
    }
    return keys;
}

void CMainFrame::createStatusBar() {
    statusBar()->addWidget(messagePane, 1);
    countPane->setMinimumWidth(131);
    statusBar()->addPermanentWidget(countPane);
    // Qt cannot read the lock keys' state; the indicators name them.
    for (const char* indicator : {"CAP", "NUM", "SCRL"}) {
        auto* pane = new QLabel(indicator, this);
        pane->setEnabled(false);
        statusBar()->addPermanentWidget(pane);
    }
}

void CMainFrame::setStatusText(const QString& text) {
    messagePane->setText(text);
    messagePane->repaint();
}

QString CMainFrame::statusText() const {
    return messagePane->text();
}

QString CMainFrame::connectionCountText() const {
    return countPane->text();
}

void CMainFrame::updateConnectionCount() {
    countPane->setText(QString("Total # of connections: %1").arg(sessionCount()));
}

// The session window on top of the others, also while another program has the focus; a
// window that was closed no longer counts, even before it is gone.
CChildFrame* CMainFrame::activeSession() const {
    const auto open = [this](QMdiSubWindow* sub) -> CChildFrame* {
        auto* session = sub != nullptr ? qobject_cast<CChildFrame*>(sub->widget()) : nullptr;
        return std::find(sessionList.begin(), sessionList.end(), session) != sessionList.end()
                   ? session
                   : nullptr;
    };
    if (CChildFrame* current = open(area->currentSubWindow())) {
        return current;
    }
    const QList<QMdiSubWindow*> recent = area->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = recent.rbegin(); it != recent.rend(); ++it) {
        if (CChildFrame* session = open(*it)) {
            return session;
        }
    }
    return nullptr;
}

std::optional<std::string> CMainFrame::promptDataSource(QWidget* parent) {
    if (dataSourcePrompt != nullptr) {
        return dataSourcePrompt->promptConnectString();
    }
    DataSourceDialog dialog(parent != nullptr ? parent : this);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const std::string chosen = dialog.connectString();
    return chosen.empty() ? std::nullopt : std::optional<std::string>(chosen);
}

CVeltroDoc* CMainFrame::newConnection(const std::optional<QString>& file,
                                      const std::optional<std::string>& connectString,
                                      const std::optional<std::string>& database) {
    const WaitCursor wait;
    setStatusText("Establishing new connection...");
    const auto giveUp = [this](CChildFrame* session) {
        delete session;
        setStatusText("");
        return nullptr;
    };
    if (sessionCount() + sessionCountOffset > maxSessions - 1) {
        PromptService::current().message(this, connectionLimitText, PromptButtons::ok,
                                         PromptIcon::critical);
        return giveUp(nullptr);
    }
    auto* session = new CChildFrame(*this, store);
    if (file && !session->document().openFile(*file)) {
        return giveUp(session);
    }
    if (!session->Connect(connectString, database)) {
        return giveUp(session);
    }
    CVeltroDoc& doc = session->document();
    if (file) {
        doc.setTitle(QFileInfo(*file).fileName());
        addRecentFile(*file);
    } else {
        ++newQueryCounter;
        doc.setTitle(QString::fromStdString(session->connectionName()) + " - " +
                     QString("%1_%2 - (New Query)").arg("Untitled").arg(newQueryCounter));
    }
    QMdiSubWindow* sub = area->addSubWindow(session);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(applicationIcon());
    // The window menu's Close has Ctrl+F4 too; Disconnect is the command that key names.
    const QList<QKeySequence> menuKeys = menuShortcuts();
    for (QAction* item : sub->systemMenu()->actions()) {
        for (const QKeySequence& key : item->shortcuts()) {
            if (menuKeys.contains(key)) {
                item->setShortcuts({});
                break;
            }
        }
    }
    sub->setWindowTitle(doc.title());
    sessionList.push_back(session);
    emit sessionOpened(session);
    if (sessionList.size() == 1) {
        sub->showMaximized();
    } else {
        sub->show();
    }
    session->queryView().setFocus();
    updateConnectionCount();
    setStatusText("");
    return &doc;
}

bool CMainFrame::openQueryFile(const QString& fileName) {
    const WaitCursor wait;
    CChildFrame* session = activeSession();
    if (session == nullptr) {
        return newConnection(fileName, std::nullopt, std::nullopt) != nullptr;
    }
    CVeltroDoc& doc = session->document();
    if (!doc.saveModified()) {
        return false;
    }
    if (!doc.openFile(fileName)) {
        return false;
    }
    doc.setTitle(QFileInfo(fileName).fileName());
    addRecentFile(fileName);
    return true;
}

void CMainFrame::openFromCommandLine(const CommandLine& commandLine) {
    std::optional<QString> file;
    if (commandLine.fileToOpen) {
        file = QFile::decodeName(QByteArray::fromStdString(*commandLine.fileToOpen));
    }
    newConnection(file, commandLine.connectString, std::nullopt);
}

void CMainFrame::connectNew() {
    newConnection(std::nullopt, std::nullopt, std::nullopt);
}

void CMainFrame::openFileCommand() {
    const QString fileName =
        PromptService::current().openFileName(this, "Open", "Query Files (*.qry);;All Files (*)");
    if (!fileName.isEmpty()) {
        openQueryFile(fileName);
    }
}

void CMainFrame::disconnectActive() {
    const WaitCursor wait;
    setStatusText("Please wait...");
    if (QMdiSubWindow* sub = area->activeSubWindow()) {
        sub->close();
    }
    setStatusText("");
}

// The active session first, then whichever becomes active, until none is left or one
// refuses to close.
void CMainFrame::disconnectAll() {
    setStatusText("Please wait...");
    closingAll = true;
    CChildFrame* previous = nullptr;
    for (CChildFrame* session = activeSession(); session != nullptr && session != previous;
         session = activeSession()) {
        previous = session;
        auto* sub = qobject_cast<QMdiSubWindow*>(session->parentWidget());
        if (sub == nullptr) {
            break;
        }
        // The one asked is the one on show.
        area->setActiveSubWindow(sub);
        if (sub->close()) {
            // Its window is deleted once this command is over; the count drops now.
            forgetSession(session);
            continue;
        }
        // The session refused: when it is cancelling, it finishes the job by itself.
        ExecutionControl& control = session->executionControl();
        if (control.batch().cancelRequested()) {
            control.setPendingClose(closingApplication ? PendingClose::application
                                    : closingAll       ? PendingClose::allSessions
                                                       : PendingClose::window);
        }
    }
    closingAll = false;
    setStatusText("");
}

void CMainFrame::sessionDestroyed(CChildFrame* session) {
    forgetSession(session);
}

void CMainFrame::forgetSession(CChildFrame* session) {
    const auto found = std::find(sessionList.begin(), sessionList.end(), session);
    if (found == sessionList.end()) {
        return;
    }
    sessionList.erase(found);
    updateConnectionCount();
    if (sessionList.empty() && goTo) {
        delete goTo;
    }
    updateCommandStates();
    area->viewport()->update();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (isMinimized()) {
        showNormal();
    }
    closingApplication = true;
    disconnectAll();
    closingApplication = false;
    savePlacement();
    if (!sessionList.empty()) {
        event->ignore();
        return;
    }
    event->accept();
}

void CMainFrame::savePlacement() {
    if (isMinimized()) {
        return;
    }
    WindowPlacement placement;
    placement.flags = isMaximized() ? placementRestoreToMaximized : 0;
    placement.showCommand = isMaximized() ? showCommandMaximized : showCommandNormal;
    const QRect normal = isMaximized() ? normalGeometry() : geometry();
    placement.left = normal.left();
    placement.top = normal.top();
    placement.right = normal.right() + 1;
    placement.bottom = normal.bottom() + 1;
    store.writeText("Settings", "WindowPos", formatWindowPlacement(placement));
}

void CMainFrame::restorePlacement() {
    const auto placement = parseWindowPlacement(store.readText("Settings", "WindowPos", ""));
    if (!placement) {
        resize(1100, 760);
        if (const QScreen* screen = QApplication::primaryScreen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
        show();
        return;
    }
    setGeometry(placement->left, placement->top, placement->right - placement->left,
                placement->bottom - placement->top);
    if (startShowCommand(*placement, showCommandNormal) == showCommandMaximized) {
        showMaximized();
    } else {
        show();
    }
}

void CMainFrame::configure() {
    COptionsSheet sheet("Configure", this, 0, store);
    if (sheet.exec() != QDialog::Accepted) {
        return;
    }
    const WaitCursor wait;
    setStatusText("Please wait...");
    const int queryTimeout = sheet.general().queryTimeout();
    const std::string priority = sheet.general().threadPriorityText().toStdString();
    for (CChildFrame* session : sessionList) {
        session->session().ApplySettings(queryTimeout, priority);
    }
    setStatusText("");
}

void CMainFrame::showGoTo() {
    if (sessionList.empty()) {
        return;
    }
    if (!goTo) {
        goTo = new CGoToDlg([this]() -> GoToSession* { return activeSession(); }, this);
    }
    goTo->showAndRefresh();
}

void CMainFrame::showReadMe() {
    // Beside the program in a build tree; installed, it lives with the documentation.
    const QDir programFolder(QCoreApplication::applicationDirPath());
    QString path = programFolder.filePath("readme.txt");
    if (!QFileInfo::exists(path)) {
        path = programFolder.filePath(QStringLiteral(VELTRO_DOC_FROM_BIN "/readme.txt"));
    }
    if (!QFileInfo::exists(path) || !QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        PromptService::current().message(this, readMeMissingText, PromptButtons::ok,
                                         PromptIcon::information);
    }
}

void CMainFrame::showAbout() {
    CAboutDlg about(activeSession(), this);
    about.exec();
}

void CMainFrame::updateCommandStates() {
    const bool any = !sessionList.empty();
    for (QMenu* menu : sessionMenus) {
        menu->menuAction()->setVisible(any);
    }
    for (QAction* action : needsSession) {
        action->setEnabled(any);
    }
    nextWindowAction->setEnabled(sessionList.size() > 1);
    previousWindowAction->setEnabled(sessionList.size() > 1);
    disconnectAction->setEnabled(any);
    fileSaveAction->setEnabled(any);
    fileSaveAsAction->setEnabled(any);
}

QStringList CMainFrame::recentFiles() const {
    QStringList files;
    for (int i = 1; i <= recentFileCount; ++i) {
        const std::string name = store.readText(recentSection, "File" + std::to_string(i), "");
        if (!name.empty()) {
            files << QString::fromStdString(name);
        }
    }
    return files;
}

void CMainFrame::addRecentFile(const QString& fileName) {
    if (fileName.isEmpty()) {
        return;
    }
    QStringList files = recentFiles();
    const QString absolute = QFileInfo(fileName).absoluteFilePath();
    files.removeAll(absolute);
    files.prepend(absolute);
    for (int i = 1; i <= recentFileCount; ++i) {
        store.writeText(recentSection, "File" + std::to_string(i),
                        i <= files.size() ? files[i - 1].toStdString() : std::string());
    }
    rebuildRecentFiles();
}

void CMainFrame::rebuildRecentFiles() {
    recentMenu->clear();
    const QStringList files = recentFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QString file = files[i];
        recentMenu->addAction(QString("&%1 %2").arg(i + 1).arg(file), this,
                              [this, file] { openQueryFile(file); });
    }
    recentMenu->setEnabled(!files.isEmpty());
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            openQueryFile(url.toLocalFile());
        }
    }
}

} // namespace veltro
