// Scripts of several statements on drivers that take one statement at a time.
#include "BatchHarness.h"
#include "TestDatabases.h"
#include "TestDriver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace veltro {
namespace {

using test::BatchHarness;
using Cells = std::vector<std::vector<std::string>>;

std::string sqliteFile(const std::string& name) {
    return test::sqliteConnectString(test::workFolder(name) / "s.db");
}

std::string demoScript() {
    std::ifstream in(VELTRO_DEMO_SCRIPT, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string fetched(int rows) {
    return "[" + std::to_string(rows) + " row(s) affected (application specific)]";
}

TEST(BatchScriptSqlite, TheDemoScriptBuildsItsDatabaseAndEachStatementGivesItsResult) {
    BatchHarness h(sqliteFile("script-demo"));
    ASSERT_TRUE(h.connected);
    ASSERT_FALSE(h.session.supportsMultipleResults);
    h.run(demoScript());
    EXPECT_EQ(h.session.statusText, "Query batch completed");
    // A pragma, five tables, five inserts (the driver counts only the plain one's rows) and
    // two views.
    std::string counts = "(0 row(s) affected)";
    for (int i = 2; i <= 13; ++i) {
        counts += i == 7 ? "\n\n(5 row(s) affected)" : "\n\n(0 row(s) affected)";
    }
    EXPECT_EQ(h.session.messageBuffer, counts);

    h.run("SELECT COUNT(*) AS customers FROM customers;\n"
          "SELECT name FROM regions ORDER BY region_id LIMIT 2;\n"
          "SELECT COUNT(*) AS orders FROM order_totals");
    ASSERT_EQ(h.session.gridCount, 3);
    EXPECT_EQ(BatchHarness::cells(h.grid(0)), (Cells{{"customers"}, {"250"}}));
    EXPECT_EQ(BatchHarness::cells(h.grid(1)), (Cells{{"name"}, {"North"}, {"South"}}));
    EXPECT_EQ(BatchHarness::cells(h.grid(2)), (Cells{{"orders"}, {"2000"}}));
    EXPECT_EQ(h.session.messageBuffer, fetched(1) + "\n\n" + fetched(2) + "\n\n" + fetched(1));

    // The driver refuses a comment after a statement, so even one statement goes alone.
    h.run("-- how many\nSELECT COUNT(*) AS regions FROM regions; -- five\n");
    EXPECT_EQ(h.session.messageBuffer, fetched(1));
    EXPECT_EQ(h.session.statusText, "Query batch completed");

    // The selection from line 3 of the editor runs; its third statement fails.
    const std::string editorText = "-- the report\n"
                                   "SELECT 0 AS z;\n"
                                   "SELECT 1 AS a;\n"
                                   "\n"
                                   "SELECT 2 AS b;\n"
                                   "  SELECT nope\n"
                                   "  FROM regions;\n"
                                   "SELECT 3 AS never;";
    h.control.Execute(editorText, editorText.find("SELECT 1"), editorText.size());
    h.waitForCompletion();
    ASSERT_EQ(h.session.gridCount, 2);
    EXPECT_EQ(BatchHarness::cells(h.grid(0)), (Cells{{"a"}, {"1"}}));
    EXPECT_EQ(BatchHarness::cells(h.grid(1)), (Cells{{"b"}, {"2"}}));
    EXPECT_EQ(h.session.messageBuffer, fetched(1) + "\n\n" + fetched(1) +
                                           "\n\nno such column: nope (1)\n"
                                           "State:S1000,Native:1,Origin:[SQLite]\n"
                                           "Statement 3, line 4\n");
    EXPECT_EQ(h.session.statusText, "Query batch completed with errors");
    EXPECT_EQ(h.view.failedStatementLine, 6);
}

TEST(BatchScriptTestDriver, StatementByStatementGivesWhatTheWholeBatchGives) {
    const std::string batch = "CREATE TABLE t (id INTEGER, name VARCHAR(10));\n"
                              "INSERT INTO t VALUES (1, 'a;b'), (2, NULL);\n"
                              "SELECT id, name FROM t ORDER BY id;\n"
                              "SELECT id FROM t WHERE id > 5; -- none\n"
                              "UPDATE t SET id = id + 1;\n"
                              "SELECT COUNT(*) AS n FROM t";
    struct Outcome {
        std::vector<Cells> grids;
        std::string messages;
    };
    const auto runWith = [&batch](const std::string& multipleResults) {
        BatchHarness h(test::testDriver("SQL_MULT_RESULT_SETS=" + multipleResults));
        EXPECT_TRUE(h.connected);
        h.run(batch);
        EXPECT_EQ(h.session.statusText, "Query batch completed") << multipleResults;
        Outcome outcome;
        for (const auto& grid : h.view.grids) {
            outcome.grids.push_back(BatchHarness::cells(*grid));
        }
        outcome.messages = h.session.messageBuffer;
        return outcome;
    };
    const Outcome whole = runWith("Y");
    const Outcome split = runWith("N");
    ASSERT_EQ(whole.grids.size(), 3u);
    EXPECT_EQ(split.grids, whole.grids);
    EXPECT_EQ(split.messages, whole.messages);
}

} // namespace
} // namespace veltro
