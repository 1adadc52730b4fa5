#pragma once

#include <QObject>

class QAction;
class QMenu;
class QToolBar;

namespace veltro {

class CChildFrame;
struct ObjectCommandResult;

// The object commands of a session window: Tables (F8) and Procedures (F9) run their dialog,
// append the generated text to the query editor, select it and execute it; the tool-bar
// button offers both in a popup. All three do nothing without a connection or while a
// batch runs, so that the dialogs never share the connection with a worker.
class ObjectCommands : public QObject {
    Q_OBJECT
public:
    // The tool-bar button's action is the session's; the two commands are made here.
    ObjectCommands(CChildFrame& session, QToolBar& toolBar, QAction& popupAction);

    QAction* tablesAction() const { return tables; }
    QAction* proceduresAction() const { return procedures; }

    void updateCommandStates();
    void onQueryTables();
    void onQueryProcedures();
    void onObjectsPopup();

private:
    bool available() const;
    void applyToEditor(const ObjectCommandResult& result);

    CChildFrame& frame;
    QToolBar& toolBar;
    QAction& popup;
    QAction* tables;
    QAction* procedures;
    QMenu* choices;
};

} // namespace veltro
