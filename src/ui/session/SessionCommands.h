#pragma once

#include <QList>

class QAction;
class QComboBox;
class QMenu;
class QToolBar;

namespace veltro {

class CChildFrame;
class CMainFrame;
class ObjectCommands;
class ResultNavigation;

// The session window's own commands: its tool bar (with the database box), the actions
// behind it, the session menus the main frame fills from them, and their enabling.
class SessionCommands {
public:
    SessionCommands(CChildFrame& session, CMainFrame& mainFrame, ResultNavigation& navigation);
    SessionCommands(const SessionCommands&) = delete;
    SessionCommands& operator=(const SessionCommands&) = delete;

    QComboBox& databaseBox() const { return *box; }
    // The commands with keys of their own, which answer from anywhere in the window.
    QList<QAction*> keyedCommands() const;

    void fillEditMenu(QMenu& menu);
    void fillQueryMenu(QMenu& menu);
    void fillResultsMenu(QMenu& menu);

    void updateCommandStates(bool connected, bool batchRunning, bool databaseBoxEnabled);

private:
    void addNavigation();

    CChildFrame& session;
    CMainFrame& frame;
    ResultNavigation& nav;
    QToolBar* toolBar = nullptr;
    QComboBox* box = nullptr;
    ObjectCommands* objects = nullptr;
    QAction* newQueryAction = nullptr;
    QAction* databaseFocusAction = nullptr;
    QAction* previousAction = nullptr;
    QAction* nextAction = nullptr;
    QAction* firstAction = nullptr;
    QAction* lastAction = nullptr;
    QAction* messagesAction = nullptr;
    QAction* driverInfoAction = nullptr;
};

} // namespace veltro
