// Batches through the worker against DBMS behaviour played by the test driver.
#include "BatchHarness.h"
#include "TestDatabases.h"
#include "TestDriver.h"

#include "odbc/CRecordsetEx.h"
#include "results/GridMemoryBudget.h"

#include <gtest/gtest.h>

#include <fstream>

namespace veltro {
namespace {

using test::BatchHarness;
using test::testDriver;

TEST(BatchWorkerTestDriver, RowCountsFollowWhatTheDriverOffers) {
    BatchHarness without(testDriver("Missing=SQLRowCount"));
    ASSERT_TRUE(without.connected);
    without.run("CREATE TABLE t (id INTEGER); INSERT INTO t VALUES (1), (2)");
    EXPECT_EQ(without.batch().messageBuffer, "The command(s) completed successfully.");

    BatchHarness unknown(testDriver("RowCount=-1"));
    ASSERT_TRUE(unknown.connected);
    unknown.run("CREATE TABLE t (id INTEGER)");
    EXPECT_EQ(unknown.batch().messageBuffer, "The command(s) completed successfully.");
    EXPECT_EQ(unknown.session.statusText, "Query batch completed");
    EXPECT_TRUE(unknown.session.showsMessages());
    // After a text, an unknown count still adds its (empty) line.
    unknown.run("SELECT 1 AS one; INSERT INTO t VALUES (1)");
    EXPECT_EQ(unknown.batch().messageBuffer, "[1 row(s) affected (application specific)]\n\n");

    BatchHarness counted(testDriver());
    ASSERT_TRUE(counted.connected);
    counted.run("CREATE TABLE t (id INTEGER); INSERT INTO t VALUES (1), (2), (3)");
    EXPECT_EQ(counted.batch().messageBuffer, "(0 row(s) affected)\n\n(3 row(s) affected)");
}

TEST(BatchWorkerTestDriver, UseInAnyCaseRefreshesTheDatabaseOnTheSqlServerFamily) {
    BatchHarness family(testDriver("DBMS_NAME=Microsoft SQL Server;Databases=master,Sales"));
    ASSERT_TRUE(family.connected);
    family.run("use master");
    family.run("Use Sales");
    family.run("SELECT 1 AS a -- because ");
    family.run("SELECT 1 AS a");
    EXPECT_EQ(family.view.currentDatabases, (std::vector<std::string>{"master", "Sales", "Sales"}));

    BatchHarness other(testDriver("DBMS_NAME=Oracle"));
    ASSERT_TRUE(other.connected);
    other.run("SELECT 1 AS a -- use ");
    EXPECT_TRUE(other.view.currentDatabases.empty());
}

class ObjectTextBatch : public testing::Test {
protected:
    std::string profile() {
        const auto path = test::workFolder("object-text") / "profile.ini";
        std::ofstream(path) << "[objects]\n"
                               "p1 = CREATE PROCEDURE p1 AS\n"
                               "p1 = SELECT 1\n"
                               "empty_view = \n";
        return path.string();
    }
};

TEST_F(ObjectTextBatch, GathersTheSourceTextWithoutGrids) {
    BatchHarness h(testDriver("DBMS_NAME=SQL Server;Profile=" + profile()));
    ASSERT_TRUE(h.connected);
    h.run("sp_helptext p1");
    EXPECT_EQ(h.batch().textBuffer, "CREATE PROCEDURE p1 ASSELECT 1");
    EXPECT_EQ(h.batch().gridCount(), 0);
    EXPECT_FALSE(h.batch().textMode);
    EXPECT_EQ(h.session.statusText, "Query batch completed");
}

TEST_F(ObjectTextBatch, NoRowsGiveNull) {
    BatchHarness h(testDriver("DBMS_NAME=SQL Server;Profile=" + profile()));
    ASSERT_TRUE(h.connected);
    h.run("SELECT name FROM sqlite_master WHERE 1 = 0", BatchOutput::text);
    EXPECT_EQ(h.batch().textBuffer, "NULL");
}

TEST_F(ObjectTextBatch, AnywhereAsksSyscomments) {
    BatchHarness h(testDriver("DBMS_NAME=Adaptive Server Anywhere;Profile=" + profile()));
    ASSERT_TRUE(h.connected);
    h.run("sp_helptext p1");
    EXPECT_EQ(h.batch().textBuffer, "CREATE PROCEDURE p1 ASSELECT 1");
}

TEST(BatchWorkerTestDriver, StillExecutingDriverStillFillsTheGrid) {
    BatchHarness h(
        testDriver("StillExecuting.Exec=2;StillExecuting.Fetch=1;StillExecuting.GetData=1"));
    ASSERT_TRUE(h.connected);
    h.run("SELECT 'a' AS x UNION ALL SELECT 'b'");
    ASSERT_EQ(h.batch().gridCount(), 1);
    EXPECT_EQ(BatchHarness::cells(h.grid(0)),
              (std::vector<std::vector<std::string>>{{"x"}, {"a"}, {"b"}}));
}

TEST(BatchWorkerTestDriver, ErrorAtRowKeepsTheRowsBeforeIt) {
    BatchHarness h(testDriver("FailFetch=3"));
    ASSERT_TRUE(h.connected);
    h.run("SELECT 'r1' AS v UNION ALL SELECT 'r2' UNION ALL SELECT 'r3' UNION ALL SELECT 'r4'");
    ASSERT_EQ(h.batch().gridCount(), 1);
    EXPECT_EQ(BatchHarness::cells(h.grid(0)),
              (std::vector<std::vector<std::string>>{{"v"}, {"r1"}, {"r2"}}));
    EXPECT_EQ(h.batch().messageBuffer,
              "[2 row(s) affected (application specific)]\n\nInjected failure\n"
              "State:S1000,Native:0,Origin:[Veltro][TestDriver]\n");
    EXPECT_EQ(h.session.statusText, "Query batch completed with errors");
}

TEST(BatchWorkerTestDriver, ErrorFromAFurtherResultEndsTheBatch) {
    BatchHarness h(testDriver("DBMS_NAME=Microsoft SQL Server;FailMoreResults=1"));
    ASSERT_TRUE(h.connected);
    h.run("SELECT 1 AS a; SELECT 2 AS b; SELECT 3 AS c");
    EXPECT_EQ(h.batch().gridCount(), 1);
    EXPECT_EQ(h.batch().messageBuffer,
              "[1 row(s) affected (application specific)]\n\nInjected failure\n"
              "State:S1000,Native:0,Origin:[Veltro][TestDriver]\n");
}

TEST(BatchWorkerTestDriver, GridPastTheMemoryBudgetEndsWithTheGridMessageAndKeepsRows) {
    BatchHarness h(testDriver());
    ASSERT_TRUE(h.connected);
    GridMemoryBudget::setLimit(GridMemoryBudget::used() + 3 * 1024 * 1024);
    h.run("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
          "SELECT i, printf('%0200d', i) AS wide FROM n");
    GridMemoryBudget::resetLimit();
    EXPECT_EQ(h.batch().messageBuffer, "Unable to Allocate Memory for FlexGrid.");
    EXPECT_EQ(h.session.statusText, "Query batch completed with errors");
    ASSERT_EQ(h.batch().gridCount(), 1);
    const GridStore& grid = h.grid(0);
    EXPECT_GT(grid.Rows(), 700);
    EXPECT_LT(grid.Rows(), 100001);
    EXPECT_EQ(grid.TextMatrix(700, 0), std::optional<std::string>("700"));
}

TEST(BatchWorkerTestDriver, AStatementThatCannotBeAllocatedIsAFailureWithTheDriversText) {
    for (const bool textMode : {false, true}) {
        BatchHarness h(testDriver("DBMS_NAME=SQL Server;FailAllocStmt=1"));
        ASSERT_TRUE(h.connected);
        h.run("SELECT 1 AS a", textMode ? BatchOutput::text : BatchOutput::grids);
        EXPECT_EQ(h.batch().messageBuffer,
                  "Injected failure\nState:S1000,Native:0,Origin:[Veltro][TestDriver]\n");
        EXPECT_EQ(h.session.statusText, "Query batch completed with errors");
    }
}

TEST(BatchWorkerTestDriver, GridThatCannotBeMadeEndsTheBatchWithItsText) {
    BatchHarness h(testDriver());
    ASSERT_TRUE(h.connected);
    h.view.gridWindowsWork = false;
    h.run("SELECT 1 AS a");
    EXPECT_EQ(h.batch().messageBuffer, "Failed to create grid control.");
    EXPECT_EQ(h.batch().gridCount(), 0);
}

} // namespace
} // namespace veltro
