// A real session window in a real main frame, driven as a user would.
#include "ScriptedPrompts.h"
#include "TestApplication.h"
#include "TestDatabases.h"
#include "TestDriver.h"

#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "editor/CQryView.h"
#include "editor/CVeltroDoc.h"
#include "odbc/DataSourcePrompt.h"
#include "results/CMSFlexGrid.h"
#include "results/CResultView.h"
#include "session/CChildFrame.h"
#include "session/Session.h"
#include "settings/MemorySettingsStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMdiSubWindow>
#include <QTest>

#include <gtest/gtest.h>

namespace veltro {
namespace {

// Runs the event loop until the condition holds or ten seconds pass.
bool waitFor(const std::function<bool()>& condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 10000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        // Closed windows are deleted later, which a nested loop does not do by itself.
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return condition();
}

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
        ASSERT_TRUE(waitFor([&] { return !session.session().executing; }));
        QApplication::processEvents();
    }

    std::string sqlite() { return test::sqliteConnectString(test::workFolder("window") / "w.db"); }

    MemorySettingsStore settings;
    FixedPrompt prompt;
    test::ScriptedPrompts prompts;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(SessionWindow, RunsABatchIntoAGridAndShowsItsSize) {
    CChildFrame* session = open(sqlite());
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(frame->connectionCountText(), "Total # of connections: 1");
    execute(*session,
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10) "
            "SELECT i, i * 2 AS d, 'x' AS e FROM n");
    EXPECT_EQ(session->paneText(0), "Query batch completed");
    EXPECT_EQ(session->paneText(2), "Results grid #1 of 1; 10 row(s); 3 col(s)");
    ASSERT_NE(session->resultView().currentGrid(), nullptr);
    EXPECT_TRUE(session->resultView().gridOnShow());
    EXPECT_EQ(session->resultView().currentGrid()->store().TextMatrix(10, 1),
              std::optional<std::string>("20"));
}

// SQLite takes one statement at a time: the window runs a script statement by statement.
TEST_F(SessionWindow, AScriptOnSqliteGivesAGridPerSelectAndTheCaretFindsTheFailingStatement) {
    CChildFrame* session = open(sqlite());
    ASSERT_NE(session, nullptr);
    execute(*session, "SELECT 1 AS a;\nSELECT 'x' AS b, 2 AS c;\n\n  SELECT nope\n  FROM t;\n"
                      "SELECT 4 AS never;");
    EXPECT_EQ(session->paneText(0), "Query batch completed with errors");
    EXPECT_EQ(session->paneText(2), "Results grid #1 of 2; 1 row(s); 1 col(s)");
    EXPECT_EQ(session->queryView().caretLineColumn().line, 4);
}

TEST_F(SessionWindow, BatchWithoutResultsShowsTheMessages) {
    CChildFrame* session = open(sqlite());
    ASSERT_NE(session, nullptr);
    execute(*session, "CREATE TABLE IF NOT EXISTS t (id INTEGER)");
    EXPECT_EQ(session->paneText(2), "Messages");
    EXPECT_NE(session->resultView().paneText().find("row(s) affected"), std::string::npos);
}

TEST_F(SessionWindow, UntitledNamesCountOnAcrossClosedSessions) {
    CChildFrame* first = open(sqlite());
    ASSERT_NE(first, nullptr);
    const QString firstTitle = first->document().title();
    EXPECT_TRUE(firstTitle.startsWith("SQLite - Untitled_")) << firstTitle.toStdString();
    const int number = firstTitle.section('_', 1).section(' ', 0, 0).toInt();
    qobject_cast<QMdiSubWindow*>(first->parentWidget())->close();
    ASSERT_TRUE(waitFor([&] { return frame->sessionCount() == 0; }));
    CChildFrame* second = open(sqlite());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->document().title(),
              QString("SQLite - Untitled_%1 - (New Query)").arg(number + 1));
}

TEST_F(SessionWindow, ConnectionLimitRefusesThe513th) {
    frame->setSessionCountOffset(maxSessions - 1);
    ASSERT_NE(open(sqlite()), nullptr);
    EXPECT_EQ(frame->newConnection(std::nullopt, sqlite(), std::nullopt), nullptr);
    ASSERT_FALSE(prompts.messages.empty());
    EXPECT_EQ(prompts.messages.back(), "Connection limit reached. You must close some connections "
                                       "before attempting to open any more connections.");
    EXPECT_EQ(frame->sessionCount(), 1);
}

TEST_F(SessionWindow, CancelledPromptLeavesNoWindowAndRetryPromptsAgain) {
    EXPECT_EQ(frame->newConnection(std::nullopt, std::nullopt, std::nullopt), nullptr);
    EXPECT_EQ(prompt.asked, 1);
    EXPECT_EQ(frame->sessionCount(), 0);
    EXPECT_TRUE(prompts.messages.empty());

    prompt.answer = sqlite();
    prompts.answers.push_back(PromptAnswer::retry);
    ASSERT_NE(frame->newConnection(std::nullopt, std::string("DSN=NoSuchDataSource"), std::nullopt),
              nullptr);
    EXPECT_EQ(prompt.asked, 2);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_NE(prompts.messages[0].find("State:IM002"), std::string::npos);
}

TEST_F(SessionWindow, NonSqlServerDatabaseBoxIsNotSupported) {
    CChildFrame* session = open(test::testDriver("DBMS_NAME=Oracle"));
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(session->databaseBoxText(), "<Not supported>");
}

TEST_F(SessionWindow, ClosingDuringABatchAsksAndAnsweredYesClosesAfterTheCancel) {
    CChildFrame* session = open(test::testDriver("FetchDelay=20"));
    ASSERT_NE(session, nullptr);
    session->queryView().setTextUtf8("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                     "FROM n WHERE i < 100000) SELECT i FROM n");
    session->executeQuery();
    ASSERT_TRUE(session->session().executing);
    auto* sub = qobject_cast<QMdiSubWindow*>(session->parentWidget());
    prompts.answers.push_back(PromptAnswer::no);
    sub->close();
    EXPECT_EQ(frame->sessionCount(), 1);
    EXPECT_TRUE(session->session().executing);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0],
              "A query execution is in progress. Are you sure you wish to cancel this query?");

    // Yes to cancelling, then No to saving the typed query.
    prompts.answers.push_back(PromptAnswer::yes);
    prompts.answers.push_back(PromptAnswer::no);
    sub->close();
    EXPECT_EQ(session->paneText(0), "Attempting to cancel query batch...");
    EXPECT_TRUE(waitFor([&] { return frame->sessionCount() == 0; }));
}

TEST_F(SessionWindow, DisconnectAllGoesOnAfterACancel) {
    ASSERT_NE(open(sqlite()), nullptr);
    CChildFrame* busy = open(test::testDriver("FetchDelay=20"));
    ASSERT_NE(busy, nullptr);
    ASSERT_NE(open(sqlite()), nullptr);
    busy->queryView().setTextUtf8("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                  "FROM n WHERE i < 100000) SELECT i FROM n");
    busy->executeQuery();
    prompts.answers.push_back(PromptAnswer::yes);
    prompts.answers.push_back(PromptAnswer::no);
    frame->disconnectAll();
    EXPECT_TRUE(waitFor([&] { return frame->sessionCount() == 0; }));
}

TEST_F(SessionWindow, F5InTheEditorRunsTheBatch) {
    CChildFrame* session = open(sqlite());
    ASSERT_NE(session, nullptr);
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    session->queryView().setFocus();
    session->queryView().setTextUtf8("SELECT 42 AS answer");
    QTest::keyClick(&session->queryView(), Qt::Key_F5);
    ASSERT_TRUE(waitFor([&] { return session->paneText(0) == "Query batch completed"; }));
    EXPECT_EQ(session->paneText(2), "Results grid #1 of 1; 1 row(s); 1 col(s)");
}

TEST_F(SessionWindow, ClosingTheLastSessionDestroysTheGoToDialog) {
    CChildFrame* session = open(sqlite());
    ASSERT_NE(session, nullptr);
    frame->showGoTo();
    ASSERT_NE(frame->goToDialog(), nullptr);
    qobject_cast<QMdiSubWindow*>(session->parentWidget())->close();
    ASSERT_TRUE(waitFor([&] { return frame->sessionCount() == 0; }));
    EXPECT_EQ(frame->goToDialog(), nullptr);
}

TEST_F(SessionWindow, AboutShowsTheDriverManagerVersionOfTheActiveSession) {
    EXPECT_EQ(CAboutDlg(nullptr, frame.get()).odbcVersionText(), "CDatabase::m_hdbc == NULL");
    CChildFrame* session = open(sqlite());
    ASSERT_NE(session, nullptr);
    const QString version = CAboutDlg(session, frame.get()).odbcVersionText();
    EXPECT_TRUE(version.startsWith("03.")) << version.toStdString();
}

TEST_F(SessionWindow, WindowPlacementIsSavedAndANineNumberValueIsIgnored) {
    frame->setGeometry(50, 60, 900, 650);
    frame->savePlacement();
    const std::string stored = settings.readText("Settings", "WindowPos", "");
    EXPECT_EQ(std::count(stored.begin(), stored.end(), ','), 9) << stored;
    settings.writeText("Settings", "WindowPos", "0,1,-1,-1,-1,-1,10,20,810");
    CMainFrame other(settings);
    other.restorePlacement();
    EXPECT_TRUE(other.isVisible());
    EXPECT_EQ(other.size(), QSize(1100, 760));
}

} // namespace
} // namespace veltro
