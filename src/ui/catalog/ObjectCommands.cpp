#include "catalog/ObjectCommands.h"

#include "app/WaitCursor.h"
#include "catalog/CProceduresDlg.h"
#include "catalog/CTablesDlg.h"
#include "catalog/ObjectText.h"
#include "editor/CQryView.h"
#include "execution/ExecutionControl.h"
#include "results/CResultView.h"
#include "session/CChildFrame.h"
#include "session/Session.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace veltro {

ObjectCommands::ObjectCommands(CChildFrame& session, QToolBar& bar, QAction& popupAction)
    : QObject(&session), frame(session), toolBar(bar), popup(popupAction) {
    tables = new QAction("&Tables...", this);
    tables->setShortcut(QKeySequence(Qt::Key_F8));
    tables->setStatusTip("Query tables");
    tables->setToolTip("Query Tables");
    procedures = new QAction("&Procedures...", this);
    procedures->setShortcut(QKeySequence(Qt::Key_F9));
    procedures->setStatusTip("Query procedures");
    procedures->setToolTip("Query Procedures");
    popup.setStatusTip("Query tables or procedures");
    popup.setToolTip("Query Tables or Procedures");
    // The button shows the arrow of a button with a menu; either half opens the menu.
    choices = new QMenu(&frame);
    choices->addAction(tables);
    choices->addAction(procedures);
    popup.setMenu(choices);
    if (auto* button = qobject_cast<QToolButton*>(toolBar.widgetForAction(&popup))) {
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
    connect(tables, &QAction::triggered, this, &ObjectCommands::onQueryTables);
    connect(procedures, &QAction::triggered, this, &ObjectCommands::onQueryProcedures);
    connect(&popup, &QAction::triggered, this, &ObjectCommands::onObjectsPopup);
    updateCommandStates();
}

bool ObjectCommands::available() const {
    return frame.isConnected() && !frame.executionControl().batch().executing();
}

void ObjectCommands::updateCommandStates() {
    const bool enabled = available();
    for (QAction* action : {tables, procedures, &popup}) {
        action->setEnabled(enabled);
    }
}

void ObjectCommands::onQueryTables() {
    if (!available()) {
        return;
    }
    CTablesDlg dialog(frame, &frame);
    if (dialog.run() != QDialog::Accepted) {
        return;
    }
    const WaitCursor wait;
    applyToEditor(tablesCommandResult(
        dialog.catalogTarget(), frame.queryView().textUtf8(),
        {dialog.resultText(), dialog.objectType(), dialog.objectName(), dialog.textOnly()}));
}

void ObjectCommands::onQueryProcedures() {
    if (!available()) {
        return;
    }
    CProceduresDlg dialog(frame, &frame);
    if (dialog.run() != QDialog::Accepted) {
        return;
    }
    const WaitCursor wait;
    applyToEditor(proceduresCommandResult(dialog.catalogTarget(), frame.queryView().textUtf8(),
                                          dialog.objectName(), dialog.objectOwner()));
}

void ObjectCommands::applyToEditor(const ObjectCommandResult& result) {
    CQryView& editor = frame.queryView();
    editor.setTextUtf8(result.editorText);
    editor.setSelectionRange(result.selectionStart, result.selectionEnd);
    if (result.objectText) {
        frame.resultView().setPaneTitle(result.paneTitle);
    }
    frame.executeBatch(result.objectText ? BatchOutput::text : BatchOutput::grids);
}

void ObjectCommands::onObjectsPopup() {
    if (!available()) {
        return;
    }
    QWidget* button = toolBar.widgetForAction(&popup);
    const QPoint anchor =
        button != nullptr ? button->mapToGlobal(QPoint(0, button->height())) : QCursor::pos();
    choices->exec(anchor);
}

} // namespace veltro
