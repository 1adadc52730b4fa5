#pragma once

// A real session window in a real main frame, driven as a user would.
#include "EventWait.h"
#include "ScriptedPrompts.h"
#include "TestApplication.h"
#include "TestDatabases.h"
#include "TestDriver.h"

#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "cli/CommandLine.h"
#include "editor/CQryView.h"
#include "editor/CVeltroDoc.h"
#include "execution/ExecutionControl.h"
#include "odbc/DataSourcePrompt.h"
#include "results/CMSFlexGrid.h"
#include "results/CResultView.h"
#include "session/CChildFrame.h"
#include "session/Session.h"
#include "settings/MemorySettingsStore.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

#include <fstream>

#include <gtest/gtest.h>

namespace veltro::test {

class FixedPrompt : public DataSourcePrompt {
public:
    std::optional<std::string> promptConnectString() override {
        ++asked;
        return answer;
    }
    std::optional<std::string> answer;
    int asked = 0;
};

class SessionWindow : public testing::Test {
protected:
    SessionWindow() {
        test::testApplication();
        frame = std::make_unique<CMainFrame>(settings);
        frame->setDataSourcePrompt(&prompt);
        frame->resize(1000, 700);
        frame->show();
    }
    ~SessionWindow() override {
        frame.reset();
        QApplication::processEvents();
    }

    CChildFrame* open(const std::string& connectString) {
        EXPECT_NE(frame->newConnection(std::nullopt, connectString, std::nullopt), nullptr);
        return frame->sessions().empty() ? nullptr : frame->sessions().back();
    }

    void execute(CChildFrame& session, const std::string& sql) {
        session.queryView().setTextUtf8(sql);
        session.queryView().updateCommandStates();
        session.queryView().action(CQryView::Command::execute)->trigger();
        ASSERT_TRUE(waitFor([&] { return !session.executionControl().batch().executing(); }));
        QApplication::processEvents();
    }

    std::string sqlite() { return test::sqliteConnectString(test::workFolder("window") / "w.db"); }

    QMdiSubWindow* windowOf(CChildFrame* session) {
        return qobject_cast<QMdiSubWindow*>(session->parentWidget());
    }

    void activateFrame() {
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }

    // The menu's actions as they are when it opens (the session menus fill themselves then).
    static QList<QAction*> openedMenuActions(QMenu* menu) {
        emit menu->aboutToShow();
        QList<QAction*> all;
        for (QAction* action : menu->actions()) {
            all << (action->menu() != nullptr ? openedMenuActions(action->menu())
                                              : QList<QAction*>{action});
        }
        return all;
    }

    QMenu* topMenu(const QString& title) {
        for (QAction* top : frame->menuBar()->actions()) {
            if (top->text() == title) {
                return top->menu();
            }
        }
        return nullptr;
    }

    MemorySettingsStore settings;
    FixedPrompt prompt;
    test::ScriptedPrompts prompts;
    std::unique_ptr<CMainFrame> frame;
};

} // namespace veltro::test
