#pragma once

#include "editor/CGoToDlg.h"

#include <QKeySequence>
#include <QMainWindow>
#include <QPointer>

#include <optional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;

namespace veltro {

class CChildFrame;
class CVeltroDoc;
class DataSourcePrompt;
class SettingsStore;
struct CommandLine;

inline constexpr int maxSessions = 512;
inline constexpr int recentFileCount = 9;

// The main window: the session windows in a multiple-document area, their list in creation
// order with its count, the commands that open and close connections, the window
// commands, and the stored window placement.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(SettingsStore& settings, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Opens a session window, on a file when one is given; its document, or nullptr when
    // no connection was made.
    CVeltroDoc* newConnection(const std::optional<QString>& file,
                              const std::optional<std::string>& connectString,
                              const std::optional<std::string>& database);
    // Opens a query file into the active session, or into a new one when none is active.
    bool openQueryFile(const QString& fileName);
    // The first session of a run: the file and the connect string the command line gave.
    void openFromCommandLine(const CommandLine& commandLine);

    const std::vector<CChildFrame*>& sessions() const { return sessionList; }
    int sessionCount() const { return static_cast<int>(sessionList.size()); }
    CChildFrame* activeSession() const;

    void setStatusText(const QString& text);
    QString statusText() const;
    QString connectionCountText() const;

    std::optional<std::string> promptDataSource(QWidget* parent);
    // Tests answer the data source question themselves; nullptr restores the dialog.
    void setDataSourcePrompt(DataSourcePrompt* prompt) { dataSourcePrompt = prompt; }
    // Tests stand in for sessions that would take too long to open.
    void setSessionCountOffset(int extra) { sessionCountOffset = extra; }

    void disconnectAll();
    void sessionDestroyed(CChildFrame* session);
    // Every key the main window's menus give their commands.
    QList<QKeySequence> menuShortcuts() const;

    // Restores the stored placement (or centres the window) and shows it.
    void restorePlacement();
    void savePlacement();

    QAction* openAction() const { return fileOpenAction; }
    QAction* saveAction() const { return fileSaveAction; }
    QAction* aboutAction() const { return helpAboutAction; }
    CGoToDlg* goToDialog() const { return goTo; }

signals:
    // A session window was made and connected.
    void sessionOpened(veltro::CChildFrame* session);
    void historyRequested();
    void recoveryRequested();

public slots:
    void connectNew();
    void disconnectActive();
    void openFileCommand();
    // The Configure sheet; after OK every open session takes the new query timeout and
    // worker priority.
    void configure();
    void showGoTo();
    void showReadMe();
    void showAbout();
    void updateCommandStates();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createMenus();
    void createStatusBar();
    void updateConnectionCount();
    void forgetSession(CChildFrame* session);
    void addRecentFile(const QString& fileName);
    void rebuildRecentFiles();
    QStringList recentFiles() const;

    SettingsStore& store;
    QMdiArea* area;
    std::vector<CChildFrame*> sessionList;
    bool closingApplication = false;
    bool closingAll = false;
    int sessionCountOffset = 0;
    DataSourcePrompt* dataSourcePrompt = nullptr;
    QPointer<CGoToDlg> goTo;

    QLabel* messagePane;
    QLabel* countPane;
    QMenu* recentMenu = nullptr;
    QAction* fileOpenAction = nullptr;
    QAction* fileSaveAction = nullptr;
    QAction* fileSaveAsAction = nullptr;
    QAction* helpAboutAction = nullptr;
    QAction* disconnectAction = nullptr;
    QAction* nextWindowAction = nullptr;
    QAction* previousWindowAction = nullptr;
    QList<QAction*> needsSession;
    QList<QMenu*> sessionMenus;
};

} // namespace veltro
