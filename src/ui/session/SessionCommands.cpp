#include "session/SessionCommands.h"

#include "app/CMainFrame.h"
#include "app/IconFactory.h"
#include "catalog/ObjectCommands.h"
#include "completion/NameCompleter.h"
#include "editor/CQryView.h"
#include "execution/ResultNavigation.h"
#include "results/CResultView.h"
#include "session/CChildFrame.h"
#include "session/DatabaseContext.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QToolBar>

namespace veltro {

namespace {

// About 250 pixels of drop-down list.
constexpr int databaseBoxVisibleItems = 15;

} // namespace

SessionCommands::SessionCommands(CChildFrame& owner, CMainFrame& mainFrame,
                                 ResultNavigation& navigation)
    : session(owner), frame(mainFrame), nav(navigation) {
    CQryView& editor = session.queryView();
    toolBar = session.addToolBar("Session");
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
    QObject::connect(newQueryAction, &QAction::triggered, &session, &CChildFrame::newQuery);
    toolBar->addAction(frame.openAction());
    toolBar->addAction(frame.saveAction());
    toolBar->addSeparator();
    const auto editorButton = [this, &editor](CQryView::Command command, const QString& iconName,
                                              const QString& glyph, const QColor& color) {
        QAction* action = editor.action(command);
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
    QAction* objectsAction =
        toolBar->addAction(themedIcon("insert-object", "T", QColor(0x6a, 0x1b, 0x9a)), "Objects");
    objects = new ObjectCommands(session, *toolBar, *objectsAction);
    toolBar->addSeparator();
    editorButton(CQryView::Command::execute, "media-playback-start", QString(QChar(0x25B6)),
                 QColor(0x2e, 0x7d, 0x32));
    editorButton(CQryView::Command::cancel, "process-stop", QString(QChar(0x25A0)),
                 QColor(0xc6, 0x28, 0x28));
    toolBar->addSeparator();
    box = new QComboBox(toolBar);
    box->setFixedWidth(205);
    box->setMaxVisibleItems(databaseBoxVisibleItems);
    box->setEnabled(false);
    box->setStatusTip("Change database context");
    box->setToolTip("Change Database Context");
    QFont boxFont = box->font();
    boxFont.setPixelSize(11);
    box->setFont(boxFont);
    toolBar->addWidget(box);
    // Only the user's choice counts: filling the box and selecting in it change nothing.
    QObject::connect(box, &QComboBox::activated, &session, [this](int index) {
        session.databaseContext().SelectionChanged(index);
        session.updateCommandStates();
    });
    databaseFocusAction = new QAction("Database Context", &session);
    databaseFocusAction->setShortcut(QKeySequence("Alt+D"));
    QObject::connect(databaseFocusAction, &QAction::triggered, box,
                     [this] { box->setFocus(Qt::ShortcutFocusReason); });
    toolBar->addSeparator();
    addNavigation();
    toolBar->addSeparator();
    toolBar->addAction(frame.aboutAction());

    driverInfoAction = new QAction("&ODBC Driver Info...", &session);
    driverInfoAction->setShortcut(QKeySequence(Qt::Key_F10));
    driverInfoAction->setStatusTip("Display ODBC Driver Info");
    driverInfoAction->setToolTip("ODBC Driver Info (F10)");
    QObject::connect(driverInfoAction, &QAction::triggered, &session, &CChildFrame::showDriverInfo);
}

void SessionCommands::addNavigation() {
    const auto navigationAction = [this](const QString& iconName, const QString& glyph,
                                         const QString& text, const QString& tip, auto step) {
        QAction* action =
            toolBar->addAction(themedIcon(iconName, glyph, QColor(0x15, 0x65, 0xc0)), text);
        action->setToolTip(tip);
        QObject::connect(action, &QAction::triggered, &session, step);
        return action;
    };
    ResultNavigation& results = nav;
    previousAction = navigationAction("go-previous", "<", "&Previous", "Previous Result Grid",
                                      [&results] { results.goPrevious(); });
    nextAction = navigationAction("go-next", ">", "&Next", "Next Result Grid",
                                  [&results] { results.goNext(); });
    firstAction = navigationAction("go-first", "|<", "&First", "First Result Grid",
                                   [&results] { results.goFirst(); });
    lastAction = navigationAction("go-last", ">|", "&Last", "Last Result Grid",
                                  [&results] { results.goLast(); });
    toolBar->addSeparator();
    messagesAction = toolBar->addAction(
        themedIcon("dialog-information", "M", QColor(0xef, 0x6c, 0x00)), "&Messages...");
    messagesAction->setShortcut(QKeySequence(Qt::Key_F4));
    messagesAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    messagesAction->setCheckable(true);
    messagesAction->setToolTip("Messages");
    QObject::connect(messagesAction, &QAction::triggered, &session, [this] {
        nav.ToggleMessages();
        session.updateCommandStates();
    });
}

QList<QAction*> SessionCommands::keyedCommands() const {
    QList<QAction*> commands = {newQueryAction,          messagesAction,
                                databaseFocusAction,     driverInfoAction,
                                objects->tablesAction(), objects->proceduresAction()};
    for (std::size_t i = 0; i < CQryView::commandCount; ++i) {
        commands << session.queryView().action(static_cast<CQryView::Command>(i));
    }
    return commands;
}

void SessionCommands::updateCommandStates(bool connected, bool batchRunning,
                                          bool databaseBoxEnabled) {
    newQueryAction->setEnabled(connected);
    box->setEnabled(databaseBoxEnabled);
    driverInfoAction->setEnabled(connected && !batchRunning);
    previousAction->setEnabled(nav.canGoPrevious());
    firstAction->setEnabled(nav.canGoPrevious());
    nextAction->setEnabled(nav.canGoNext());
    lastAction->setEnabled(nav.canGoNext());
    messagesAction->setEnabled(nav.canToggleMessages());
    messagesAction->setChecked(nav.messagesChecked());
    objects->updateCommandStates();
    session.queryView().updateCommandStates();
}

void SessionCommands::fillEditMenu(QMenu& menu) {
    CQryView& editor = session.queryView();
    editor.updateCommandStates();
    using Command = CQryView::Command;
    for (const Command command : {Command::undo, Command::redo}) {
        menu.addAction(editor.action(command));
    }
    menu.addSeparator();
    for (const Command command :
         {Command::cut, Command::copy, Command::paste, Command::selectAll, Command::clearAll}) {
        menu.addAction(editor.action(command));
    }
    menu.addSeparator();
    for (const Command command : {Command::find, Command::findNext, Command::replace}) {
        menu.addAction(editor.action(command));
    }
    menu.addSeparator();
    for (const Command command : {Command::upperCase, Command::lowerCase, Command::tabify,
                                  Command::untabify, Command::wrapWord, Command::font}) {
        menu.addAction(editor.action(command));
    }
}

void SessionCommands::fillQueryMenu(QMenu& menu) {
    session.updateCommandStates();
    CQryView& editor = session.queryView();
    menu.addAction(editor.action(CQryView::Command::execute));
    menu.addAction(editor.action(CQryView::Command::cancel));
    menu.addSeparator();
    menu.addAction(newQueryAction);
    if (NameCompleter* names = session.nameCompleter()) {
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

void SessionCommands::fillResultsMenu(QMenu& menu) {
    const auto add = [&menu](const QString& text, bool enabled, auto run) {
        QAction* action = menu.addAction(text, run);
        action->setEnabled(enabled);
        return action;
    };
    CResultView& pane = session.resultView();
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

} // namespace veltro
