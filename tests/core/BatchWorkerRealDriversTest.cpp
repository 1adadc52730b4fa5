// Batches through the worker against SQLite 3 ODBC and PostgreSQL.
#include "BatchHarness.h"
#include "TestDatabases.h"

#include "odbc/CRecordsetEx.h"

#include <gtest/gtest.h>

namespace veltro {
namespace {

using test::BatchHarness;

std::string sqliteFile(const std::string& name) {
    return test::sqliteConnectString(test::workFolder(name) / "w.db");
}

TEST(BatchWorkerSqlite, UpdateReportsDriverRowCountAndNoGrid) {
    BatchHarness h(sqliteFile("worker-update"));
    ASSERT_TRUE(h.connected);
    h.run("CREATE TABLE t (id INTEGER)");
    h.run("INSERT INTO t SELECT 1 UNION ALL SELECT 2 UNION ALL SELECT 3 UNION ALL SELECT 4 "
          "UNION ALL SELECT 5");
    h.run("UPDATE t SET id = id + 1");
    EXPECT_EQ(h.batch().messageBuffer, "(5 row(s) affected)");
    EXPECT_EQ(h.batch().gridCount(), 0);
    EXPECT_EQ(h.session.statusText, "Query batch completed");
    EXPECT_TRUE(h.session.showsMessages());
    EXPECT_FALSE(h.session.batchRecordset->IsOpen());
}

TEST(BatchWorkerSqlite, EmptyFirstResultKeepsOnlyTheHeaderRow) {
    BatchHarness h(sqliteFile("worker-empty"));
    ASSERT_TRUE(h.connected);
    h.run("CREATE TABLE t (id INTEGER, name VARCHAR(8))");
    h.run("SELECT id, name FROM t");
    ASSERT_EQ(h.batch().gridCount(), 1);
    const GridStore& grid = h.grid(0);
    EXPECT_EQ(BatchHarness::cells(grid), (std::vector<std::vector<std::string>>{{"id", "name"}}));
    EXPECT_EQ(h.batch().messageBuffer, "[0 row(s) affected (application specific)]");
    EXPECT_FALSE(h.session.showsMessages());
}

TEST(BatchWorkerSqlite, ThousandRowsFillTheirGridWhole) {
    BatchHarness h(sqliteFile("worker-1000"));
    ASSERT_TRUE(h.connected);
    h.run("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
          "SELECT i, 'row ' || i AS label FROM n");
    EXPECT_EQ(h.batch().messageBuffer, "[1000 row(s) affected (application specific)]");
    const GridStore& grid = h.grid(0);
    EXPECT_EQ(grid.Rows(), 1001);
    EXPECT_EQ(grid.TextMatrix(1, 1), std::optional<std::string>("row 1"));
    EXPECT_EQ(grid.TextMatrix(1000, 0), std::optional<std::string>("1000"));
    EXPECT_EQ(h.session.statusText, "Query batch completed");
}

TEST(BatchWorkerSqlite, SyntaxErrorGivesTextsErrorStatusAndNoGrid) {
    BatchHarness h(sqliteFile("worker-syntax"));
    ASSERT_TRUE(h.connected);
    h.run("SELEC 1");
    EXPECT_EQ(h.batch().messageBuffer,
              "near \"SELEC\": syntax error (1)\nState:S1000,Native:1,Origin:[SQLite]\n");
    EXPECT_EQ(h.session.statusText, "Query batch completed with errors");
    EXPECT_EQ(h.batch().gridCount(), 0);
    EXPECT_TRUE(h.session.showsMessages());
    // A second completion message for the same batch changes nothing.
    h.control.CompleteBatch({});
    EXPECT_EQ(h.session.statusText, "Query batch completed with errors");
}

class BatchWorkerPostgres : public testing::Test {
protected:
    void SetUp() override {
        connectString = test::postgresConnectString();
        VELTRO_REQUIRE_POSTGRES_OR_SKIP(connectString);
    }
    std::string connectString;
};

TEST_F(BatchWorkerPostgres, TwoSelectsGiveTwoGridsAndTwoMessages) {
    BatchHarness h(connectString);
    ASSERT_TRUE(h.connected);
    h.run("SELECT 1 AS a; SELECT 'x' AS b, 'y' AS c UNION ALL SELECT 'z', NULL");
    ASSERT_EQ(h.batch().gridCount(), 2);
    EXPECT_EQ(BatchHarness::cells(h.grid(0)),
              (std::vector<std::vector<std::string>>{{"a"}, {"1"}}));
    EXPECT_EQ(BatchHarness::cells(h.grid(1)),
              (std::vector<std::vector<std::string>>{{"b", "c"}, {"x", "y"}, {"z", ""}}));
    EXPECT_EQ(h.batch().messageBuffer, "[1 row(s) affected (application specific)]\n\n"
                                       "[2 row(s) affected (application specific)]");
    EXPECT_EQ(h.batch().currentGridNumber, 1);
}

TEST_F(BatchWorkerPostgres, ServerNoticesComeBeforeTheRowCounts) {
    BatchHarness h(connectString);
    ASSERT_TRUE(h.connected);
    // psqlODBC runs the whole batch at once and hands its notices over as one record.
    h.run("DO $$ BEGIN RAISE NOTICE 'first'; RAISE WARNING 'second'; END $$; SELECT 1 AS a");
    EXPECT_EQ(h.batch().messageBuffer, "NOTICE: first;WARNING: second\n\n\n\n"
                                       "[1 row(s) affected (application specific)]");
    EXPECT_EQ(h.session.statusText, "Query batch completed");
}

TEST_F(BatchWorkerPostgres, ColumnWidthsFollowNamePrecisionAndScale) {
    BatchHarness h(connectString);
    ASSERT_TRUE(h.connected);
    h.run("SELECT 1::integer AS id, 'x'::varchar(4000) AS wide, "
          "'abc'::varchar(5) AS nineteen_characters, 1.5::numeric(6,2) AS amount");
    ASSERT_EQ(h.batch().gridCount(), 1);
    const GridStore& grid = h.grid(0);
    EXPECT_EQ(grid.ColWidth(0), 1100);
    EXPECT_EQ(grid.ColWidth(1), 5500);
    EXPECT_EQ(grid.ColWidth(2), 2090);
    EXPECT_EQ(grid.ColWidth(3), (6 + 2) * 110);
    EXPECT_EQ(grid.ColAlignment(0), 1);
}

} // namespace
} // namespace veltro
