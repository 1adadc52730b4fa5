// The database box of a session window on a server of the SQL Server family, played by the
// test driver, and on PostgreSQL.
#include "BatchHarness.h"
#include "SessionWindowFixture.h"

#include "execution/ExecutionControl.h"
#include "session/DatabaseContext.h"

#include <QComboBox>
#include <QEnterEvent>
#include <QStatusBar>

namespace veltro {
namespace {

using test::testDriver;
using test::testDriverCounter;
using test::waitFor;

std::string sqlServer(const std::string& attributes) {
    return testDriver("DBMS_NAME=Microsoft SQL Server;" + attributes);
}

class DatabaseBox : public test::SessionWindow {
protected:
    static QStringList entries(CChildFrame& session) {
        QStringList all;
        for (int i = 0; i < session.databaseComboBox().count(); ++i) {
            all << session.databaseComboBox().itemText(i);
        }
        return all;
    }

    // Chooses the entry as the user would.
    static void pick(CChildFrame& session, const QString& entry) {
        QComboBox& box = session.databaseComboBox();
        const int index = box.findText(entry);
        ASSERT_GE(index, 0) << entry.toStdString();
        box.setCurrentIndex(index);
        emit box.activated(index);
    }

    // The statements the test driver ran while the action ran.
    static long statementsDuring(const std::function<void()>& action) {
        const long before = testDriverCounter("executions");
        action();
        return testDriverCounter("executions") - before;
    }

    // The database the server says is current, asked through a batch of the session.
    std::string serverDatabase(CChildFrame& session) {
        execute(session, "select db_name() dbname");
        const CMSFlexGrid* grid = session.resultView().currentGrid();
        return grid != nullptr ? grid->store().TextMatrix(1, 0).value_or("") : "";
    }
};

TEST_F(DatabaseBox, AnEmptyListShowsNoDataSelectedAboveRefresh) {
    CChildFrame* session = open(sqlServer(""));
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(entries(*session), QStringList({"<No Data>", "<Refresh>"}));
    EXPECT_EQ(session->databaseBoxText(), "<No Data>");
    EXPECT_TRUE(session->databaseComboBox().isEnabled());
    EXPECT_EQ(statementsDuring([&] { pick(*session, "<No Data>"); }), 0);
}

TEST_F(DatabaseBox, ANameWithABlankIsBracketedAndSwitchedToByThatName) {
    CChildFrame* session = open(sqlServer("Databases=Sales,my db,master;CurrentDatabase=master"));
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(entries(*session), QStringList({"[my db]", "master", "Sales", "<Refresh>"}));
    EXPECT_EQ(session->databaseBoxText(), "master");

    pick(*session, "[my db]");
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(session->session().currentDatabase, "[my db]");
    EXPECT_EQ(session->databaseBoxText(), "[my db]");
    EXPECT_EQ(serverDatabase(*session), "my db");

    // The server names it without brackets; its entry is still the one shown.
    execute(*session, "use master");
    execute(*session, "use [my db]");
    EXPECT_EQ(session->session().currentDatabase, "my db");
    EXPECT_EQ(session->databaseBoxText(), "[my db]");
}

TEST_F(DatabaseBox, RefreshRefillsAndReselectsWhilePickingTheCurrentEntryRunsNothing) {
    CChildFrame* session = open(sqlServer("Databases=master,Sales;CurrentDatabase=master"));
    ASSERT_NE(session, nullptr);
    pick(*session, "Sales");
    EXPECT_EQ(statementsDuring([&] { pick(*session, "Sales"); }), 0);
    // The list, then the current database.
    EXPECT_EQ(statementsDuring([&] { pick(*session, "<Refresh>"); }), 2);
    EXPECT_EQ(entries(*session), QStringList({"master", "Sales", "<Refresh>"}));
    EXPECT_EQ(session->databaseBoxText(), "Sales");
}

TEST_F(DatabaseBox, AFailedSwitchKeepsTheBoxOnTheCurrentDatabaseAndShowsTheDriverText) {
    CChildFrame* session =
        open(sqlServer("Databases=master,Sales;CurrentDatabase=master;FailOn=use Sales"));
    ASSERT_NE(session, nullptr);
    pick(*session, "Sales");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0], "Injected failure\nState:S1000,Native:0,Origin:"
                                   "[Veltro][TestDriver]\n");
    EXPECT_EQ(session->databaseBoxText(), "master");
    EXPECT_EQ(session->session().currentDatabase, "master");
    EXPECT_EQ(serverDatabase(*session), "master");
}

TEST_F(DatabaseBox, AFailingListShowsTheReturnCodeAsItsOnlyEntry) {
    CChildFrame* session = open(sqlServer("DatabasesError=42S02|208|Invalid object name"));
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(entries(*session), QStringList({"CDBException::m_nRetCode == -1"}));
    EXPECT_EQ(session->databaseBoxText(), "CDBException::m_nRetCode == -1");
}

TEST_F(DatabaseBox, AUseInABatchInAnyCaseLeavesTheBoxOnItsDatabase) {
    CChildFrame* session = open(sqlServer("Databases=master,other;CurrentDatabase=master"));
    ASSERT_NE(session, nullptr);
    for (const auto& [batch, shown] : {std::pair{"uSe other", "other"}, {"USE Master", "master"}}) {
        execute(*session, batch);
        EXPECT_EQ(session->databaseBoxText(), shown) << batch;
        EXPECT_EQ(session->session().currentDatabase, shown) << batch;
    }
}

TEST_F(DatabaseBox, IsDisabledWhileABatchRuns) {
    CChildFrame* session = open(sqlServer("Databases=master;FetchDelay=20"));
    ASSERT_NE(session, nullptr);
    EXPECT_TRUE(session->databaseComboBox().isEnabled());
    session->queryView().setTextUtf8("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                     "FROM n WHERE i < 100000) SELECT i FROM n");
    session->executeQuery();
    EXPECT_FALSE(session->databaseComboBox().isEnabled());
    session->updateCommandStates();
    EXPECT_FALSE(session->databaseComboBox().isEnabled());
    session->cancelQuery();
    ASSERT_TRUE(waitFor([&] { return !session->executionControl().batch().executing(); }));
    EXPECT_TRUE(session->databaseComboBox().isEnabled());
}

TEST_F(DatabaseBox, NewQueryOpensOnTheDatabaseTheBoxShows) {
    CChildFrame* first = open(sqlServer("Databases=master,Sales;CurrentDatabase=Sales"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->databaseBoxText(), "Sales");
    pick(*first, "master");
    first->newQuery();
    ASSERT_EQ(frame->sessionCount(), 2);
    CChildFrame* second = frame->sessions().back();
    EXPECT_EQ(second->databaseBoxText(), "master");
    EXPECT_EQ(serverDatabase(*second), "master");
}

// Pane 0 as the user sees it: the status bar's own message area, when it shows anything,
// takes its place.
QString shownStatus(CChildFrame& session) {
    const QString message = session.statusBar()->currentMessage();
    return message.isEmpty() ? session.paneText(0) : message;
}

// Moving the cursor queues pointer events; deliver them now, or a late enter or leave
// event would land after whatever the test does next.
void placePointer(QWidget& over) {
    QCursor::setPos(over.mapToGlobal(over.rect().center()));
    QCoreApplication::processEvents();
}

void movePointer(QWidget& over, QEvent::Type crossing) {
    const QPoint centre = over.rect().center();
    placePointer(over);
    if (crossing == QEvent::Enter) {
        QEnterEvent enter(centre, centre, over.mapToGlobal(centre));
        QApplication::sendEvent(&over, &enter);
    } else {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&over, &leave);
    }
}

// A drop-down list closing under the pointer leaves the box without a leave event: the
// window's refresh finds the pointer gone, and a batch's status replaces the help text.
TEST_F(DatabaseBox, PaneZeroShowsTheBoxsHelpOnlyWhileThePointerIsOnIt) {
    CChildFrame* session =
        open(sqlServer("Databases=master,Sales;CurrentDatabase=master;FailOn=select bad"));
    ASSERT_NE(session, nullptr);
    QComboBox& box = session->databaseComboBox();
    const QString help = "Change database context";
    movePointer(box, QEvent::Enter);
    session->updateCommandStates();
    EXPECT_EQ(shownStatus(*session), help);

    pick(*session, "Sales");
    placePointer(session->queryView());
    session->updateCommandStates();
    EXPECT_EQ(shownStatus(*session), "Ready");

    movePointer(box, QEvent::Enter);
    EXPECT_EQ(shownStatus(*session), help);
    execute(*session, "select bad");
    EXPECT_EQ(shownStatus(*session), "Query batch completed with errors");
    movePointer(box, QEvent::Enter);
    movePointer(box, QEvent::Leave);
    EXPECT_EQ(shownStatus(*session), "Query batch completed with errors");
}

TEST_F(DatabaseBox, AltDPutsTheFocusOnTheBox) {
    CChildFrame* session = open(sqlServer("Databases=master"));
    ASSERT_NE(session, nullptr);
    activateFrame();
    session->queryView().setFocus();
    ASSERT_TRUE(waitFor([&] { return session->queryView().hasFocus(); }));
    QTest::keyClick(&session->queryView(), Qt::Key_D, Qt::AltModifier);
    EXPECT_TRUE(waitFor([&] { return session->databaseComboBox().hasFocus(); }));
}

TEST_F(DatabaseBox, IsNotSupportedAndDisabledOnPostgresql) {
    const std::string postgres = test::postgresConnectString();
    VELTRO_REQUIRE_POSTGRES_OR_SKIP(postgres);
    CChildFrame* session = open(postgres);
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(entries(*session), QStringList({"<Not supported>"}));
    EXPECT_EQ(session->databaseBoxText(), "<Not supported>");
    EXPECT_FALSE(session->databaseComboBox().isEnabled());
}

} // namespace
} // namespace veltro
