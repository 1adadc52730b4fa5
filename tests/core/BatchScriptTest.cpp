// Scripts of several statements: statement by statement, the first error ends them.
#include "BatchHarness.h"
#include "RealDrivers.h"
#include "TestDatabases.h"
#include "TestDriver.h"
#include "TestDriverHooks.h"

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
    ASSERT_FALSE(h.session.capabilities().supportsMultipleResults);
    h.run(demoScript());
    EXPECT_EQ(h.session.statusText, "Query batch completed");
    // A pragma, five tables, five inserts (the driver counts only the plain one's rows) and
    // two views.
    std::string counts = "(0 row(s) affected)";
    for (int i = 2; i <= 13; ++i) {
        counts += i == 7 ? "\n\n(5 row(s) affected)" : "\n\n(0 row(s) affected)";
    }
    EXPECT_EQ(h.batch().messageBuffer, counts);

    h.run("SELECT COUNT(*) AS customers FROM customers;\n"
          "SELECT name FROM regions ORDER BY region_id LIMIT 2;\n"
          "SELECT COUNT(*) AS orders FROM order_totals");
    ASSERT_EQ(h.batch().gridCount(), 3);
    EXPECT_EQ(BatchHarness::cells(h.grid(0)), (Cells{{"customers"}, {"250"}}));
    EXPECT_EQ(BatchHarness::cells(h.grid(1)), (Cells{{"name"}, {"North"}, {"South"}}));
    EXPECT_EQ(BatchHarness::cells(h.grid(2)), (Cells{{"orders"}, {"2000"}}));
    EXPECT_EQ(h.batch().messageBuffer, fetched(1) + "\n\n" + fetched(2) + "\n\n" + fetched(1));

    // The driver refuses a comment after a statement, so even one statement goes alone.
    h.run("-- how many\nSELECT COUNT(*) AS regions FROM regions; -- five\n");
    EXPECT_EQ(h.batch().messageBuffer, fetched(1));
    EXPECT_EQ(h.session.statusText, "Query batch completed");

    // The selection from line 3 of the editor runs; its third statement fails. The message
    // names the editor's line, where the caret goes.
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
    ASSERT_EQ(h.batch().gridCount(), 2);
    EXPECT_EQ(BatchHarness::cells(h.grid(0)), (Cells{{"a"}, {"1"}}));
    EXPECT_EQ(BatchHarness::cells(h.grid(1)), (Cells{{"b"}, {"2"}}));
    EXPECT_EQ(h.batch().messageBuffer, fetched(1) + "\n\n" + fetched(1) +
                                           "\n\nno such column: nope (1)\n"
                                           "State:S1000,Native:1,Origin:[SQLite]\n"
                                           "Statement 3, line 6\n");
    EXPECT_EQ(h.session.statusText, "Query batch completed with errors");
    EXPECT_EQ(h.view.failedStatementLine, 6);
}

class ScriptOnRealDrivers : public testing::TestWithParam<test::RealDriver> {};

// The same script gives the same outcome on every DBMS: what ran before the first failing
// statement stays, committed, and nothing after it runs.
TEST_P(ScriptOnRealDrivers, TheFirstFailingStatementEndsTheScriptAndIsNamed) {
    const std::string connectString = test::realDriverConnectString(GetParam(), "script-rules");
    VELTRO_REQUIRE_REAL_DRIVER_OR_SKIP(GetParam(), connectString);
    BatchHarness h(connectString);
    ASSERT_TRUE(h.connected);
    const bool postgres = GetParam() == test::RealDriver::postgres;
    const bool mariadb = GetParam() == test::RealDriver::mariadb;
    struct Case {
        const char* name;
        std::string script;
        std::vector<Cells> grids;
        // All messages, or those before the error.
        std::string messages;
        // What the error names, and the statement and line that failed; empty: none failed.
        std::string errorMentions;
        std::string failure;
        int failedLine;
        Cells committed;
        bool postgresOnly;
    };
    const std::string inserted = "(1 row(s) affected)";
    const std::vector<Case> cases{
        {"error in the first statement",
         "INSERT INTO nosuch VALUES (1);\nINSERT INTO script_rows VALUES (1)",
         {},
         "",
         "nosuch",
         "Statement 1, line 1\n",
         1,
         {{"a"}},
         false},
        {"error in the middle",
         "INSERT INTO script_rows VALUES (1);\n-- next\nINSERT INTO nosuch VALUES (2);\n"
         "INSERT INTO script_rows VALUES (3)",
         {},
         inserted,
         "nosuch",
         "Statement 2, line 3\n",
         3,
         {{"a"}, {"1"}},
         false},
        {"error in the last, after a result set",
         "INSERT INTO script_rows VALUES (1);\nSELECT a FROM script_rows;\n"
         "INSERT INTO nosuch VALUES (2)",
         {{{"a"}, {"1"}}},
         inserted + "\n\n" + fetched(1),
         "nosuch",
         "Statement 3, line 3\n",
         3,
         {{"a"}, {"1"}},
         false},
        {"CRLF line ends",
         "INSERT INTO script_rows VALUES (1);\r\n\r\nINSERT INTO script_rows VALUES (2);\r\n"
         "SELEC 3;\r\n",
         {},
         inserted + "\n\n" + inserted,
         "SELEC",
         "Statement 3, line 4\n",
         4,
         {{"a"}, {"1"}, {"2"}},
         false},
        {"a comment inside a comment ends at the first */ where comments do not nest",
         "insert into script_rows values (0);\n/* TODO /* fix */\n"
         "insert into script_rows values (1);\n/* done */\ninsert into script_rows values (2);",
         {},
         postgres ? inserted : inserted + "\n\n" + inserted + "\n\n" + inserted,
         postgres ? "comment" : "",
         postgres ? "Statement 2, line 2\n" : "",
         postgres ? 2 : 0,
         postgres ? Cells{{"a"}, {"0"}} : Cells{{"a"}, {"0"}, {"1"}, {"2"}},
         false},
        {"comments and client commands alone run nothing",
         std::string(mariadb ? "DELIMITER ;;\n" : "") +
             "-- INSERT INTO script_rows VALUES (1);\n/* INSERT INTO script_rows VALUES (2); */\n" +
             (mariadb ? "DELIMITER ;\n" : ""),
         {},
         "The command(s) completed successfully.",
         "",
         "",
         0,
         {{"a"}},
         false},
        {"a notice before an error",
         "DO $$ BEGIN RAISE NOTICE 'first'; END $$;\nINSERT INTO script_rows VALUES (1);\n"
         "DO $$ BEGIN RAISE NOTICE 'second'; END $$;\nSELECT 1 / 0 AS never",
         {},
         "NOTICE: first\n\n\n\n" + inserted + "\n\nNOTICE: second\n\n",
         "division by zero",
         "Statement 4, line 4\n",
         4,
         {{"a"}, {"1"}},
         true},
    };
    for (const Case& c : cases) {
        if (c.postgresOnly && !postgres) {
            continue;
        }
        SCOPED_TRACE(c.name);
        h.run("DROP TABLE IF EXISTS script_rows");
        h.run("CREATE TABLE script_rows (a INTEGER)");
        h.view.failedStatementLine = 0;
        h.run(c.script);
        std::vector<Cells> grids;
        for (const auto& grid : h.view.grids) {
            grids.push_back(BatchHarness::cells(*grid));
        }
        EXPECT_EQ(grids, c.grids);
        const std::string& messages = h.batch().messageBuffer;
        EXPECT_EQ(h.view.failedStatementLine, c.failedLine);
        if (c.failure.empty()) {
            EXPECT_EQ(messages, c.messages);
            EXPECT_EQ(h.session.statusText, "Query batch completed");
        } else {
            EXPECT_EQ(messages.substr(0, c.messages.size()), c.messages) << messages;
            EXPECT_TRUE(messages.ends_with(c.failure)) << messages;
            EXPECT_NE(messages.find(c.errorMentions, c.messages.size()), std::string::npos)
                << messages;
            EXPECT_EQ(h.session.statusText, "Query batch completed with errors");
        }
        h.run("SELECT a FROM script_rows ORDER BY a");
        EXPECT_EQ(BatchHarness::cells(h.grid(0)), c.committed);
    }
}

VELTRO_ON_EVERY_REAL_DRIVER(ScriptOnRealDrivers);

// T-SQL gives a batch its meaning: the SQL Server family and Sybase get it whole, in one
// execution; every other DBMS statement by statement, whatever the driver says of several
// results. Both give the same results.
TEST(BatchScriptTestDriver, OnlyTheSqlServerFamilyAndSybaseGetTheBatchWhole) {
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
    const auto runWith = [&batch](const std::string& attributes, long executions) {
        BatchHarness h(test::testDriver(attributes));
        EXPECT_TRUE(h.connected);
        const long before = test::testDriverCounter("executions");
        h.run(batch);
        EXPECT_EQ(test::testDriverCounter("executions") - before, executions) << attributes;
        EXPECT_EQ(h.session.statusText, "Query batch completed") << attributes;
        Outcome outcome;
        for (const auto& grid : h.view.grids) {
            outcome.grids.push_back(BatchHarness::cells(*grid));
        }
        outcome.messages = h.batch().messageBuffer;
        return outcome;
    };
    const Outcome whole = runWith("DBMS_NAME=Microsoft SQL Server", 1);
    ASSERT_EQ(whole.grids.size(), 3u);
    for (const char* attributes :
         {"DBMS_NAME=Adaptive Server Enterprise", "DBMS_NAME=Sybase SQL Anywhere"}) {
        const Outcome outcome = runWith(attributes, 1);
        EXPECT_EQ(outcome.grids, whole.grids) << attributes;
    }
    for (const char* attributes :
         {"", "SQL_MULT_RESULT_SETS=N", "DBMS_NAME=Oracle;SQL_MULT_RESULT_SETS=Y"}) {
        const Outcome split = runWith(attributes, 6);
        EXPECT_EQ(split.grids, whole.grids) << attributes;
        EXPECT_EQ(split.messages, whole.messages) << attributes;
    }
}

} // namespace
} // namespace veltro
