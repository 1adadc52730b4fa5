// Faults on cue: injected errors, SQL_STILL_EXECUTING and cancellation, as an
// ODBC 2 application sees them through the driver manager.
#include "TestDriverHooks.h"
#include "V2Statement.h"

#include <gtest/gtest.h>

#include <thread>

using namespace veltro::testdriver::test;

namespace {

std::optional<std::string> text(const char* value) {
    return std::string(value);
}

// Reads a counter of `connection` (column 1) or of the whole process (column 2).
long counter(const V2Connection& connection, const std::string& name, size_t column = 1) {
    V2Statement statement(connection);
    statement.execute("SELECT * FROM veltro_driver_stats");
    for (const auto& row : statement.rows()) {
        if (row.at(0) == name)
            return std::stol(row.at(column).value_or("-1"));
    }
    return -1;
}

} // namespace

TEST(Faults, ExecuteFailsWithSeveralRecords) {
    V2Connection connection("FailExec=2;Error=42S02|208|Invalid object name 'x'.;ErrorRecords=2");
    V2Statement statement(connection);
    EXPECT_EQ(statement.execute("SELECT 1"), SQL_SUCCESS);
    SQLFreeStmt(statement.handle(), SQL_CLOSE);
    EXPECT_EQ(statement.execute("SELECT 1"), SQL_ERROR);
    const auto errors = statement.errors();
    ASSERT_EQ(errors.size(), 2u);
    // ODBC 3 states reach an ODBC 2 application under their 2.x names.
    EXPECT_EQ(errors[0].state, "S0002");
    EXPECT_EQ(errors[0].native, 208);
    EXPECT_EQ(errors[0].message, "[Veltro][TestDriver]Invalid object name 'x'.");
    EXPECT_EQ(errors[1].native, 209);
    EXPECT_EQ(statement.execute("SELECT 1"), SQL_SUCCESS);
}

TEST(Faults, ExecuteFailsOnMatchingText) {
    V2Connection connection("FailOn=orders");
    V2Statement statement(connection);
    EXPECT_EQ(statement.execute("SELECT 1"), SQL_SUCCESS);
    SQLFreeStmt(statement.handle(), SQL_CLOSE);
    EXPECT_EQ(statement.execute("SELECT * FROM orders"), SQL_ERROR);
    EXPECT_EQ(statement.errors().at(0).message, "[Veltro][TestDriver]Injected failure");
}

TEST(Faults, FetchFailsAtTheChosenRow) {
    V2Connection connection("FailFetch=2");
    V2Statement statement(connection);
    ASSERT_EQ(statement.execute("SELECT 1 UNION ALL SELECT 2 UNION ALL SELECT 3"), SQL_SUCCESS);
    EXPECT_EQ(SQLFetch(statement.handle()), SQL_SUCCESS);
    EXPECT_EQ(SQLFetch(statement.handle()), SQL_ERROR);
    EXPECT_EQ(statement.errors().at(0).state, "S1000");
}

TEST(Faults, MoreResultsFailsBetweenResults) {
    V2Connection connection("FailMoreResults=1;Error=42000|50000|[Server]Batch broke");
    V2Statement statement(connection);
    ASSERT_EQ(statement.execute("SELECT 1; SELECT 2"), SQL_SUCCESS);
    EXPECT_EQ(statement.rows().size(), 1u);
    EXPECT_EQ(SQLMoreResults(statement.handle()), SQL_ERROR);
    EXPECT_EQ(statement.errors().at(0).message, "[Server]Batch broke");
    ASSERT_EQ(SQLMoreResults(statement.handle()), SQL_SUCCESS);
    EXPECT_EQ(statement.rows(), (std::vector<Row>{{text("2")}}));
}

TEST(Faults, StillExecutingUntilTheSameCallIsRepeated) {
    V2Connection observer;
    V2Statement reset(observer);
    ASSERT_EQ(reset.execute("DELETE FROM veltro_driver_stats"), SQL_SUCCESS);
    V2Connection connection("StillExecuting.Exec=2;StillExecuting.Fetch=1");
    V2Statement statement(connection);
    const std::string sql = "SELECT 7; SELECT 8";
    EXPECT_EQ(statement.execute(sql), SQL_STILL_EXECUTING);
    // The driver manager refuses other calls while one is still executing.
    SQLSMALLINT columns = 0;
    EXPECT_EQ(SQLNumResultCols(statement.handle(), &columns), SQL_ERROR);
    EXPECT_EQ(statement.errors().at(0).state, "S1010");
    EXPECT_EQ(statement.execute(sql), SQL_STILL_EXECUTING);
    ASSERT_EQ(statement.execute(sql), SQL_SUCCESS);

    EXPECT_EQ(SQLFetch(statement.handle()), SQL_STILL_EXECUTING);
    EXPECT_EQ(SQLFetch(statement.handle()), SQL_SUCCESS);
    char value[8];
    SQLLEN indicator = 0;
    SQLGetData(statement.handle(), 1, SQL_C_CHAR, value, sizeof value, &indicator);
    EXPECT_STREQ(value, "7");

    EXPECT_EQ(counter(observer, "still_executing", 2), 3);
}

TEST(Faults, StillExecutingMoreResultsCannotBeResumedThroughUnixOdbc) {
    // unixODBC 2.3 records an interrupted SQLMoreResults as SQLExecute and then
    // refuses the repeated call; the statement can only be dropped.
    V2Connection connection("StillExecuting.MoreResults=1");
    V2Statement statement(connection);
    ASSERT_EQ(statement.execute("SELECT 1; SELECT 2"), SQL_SUCCESS);
    EXPECT_EQ(SQLMoreResults(statement.handle()), SQL_STILL_EXECUTING);
    EXPECT_EQ(SQLMoreResults(statement.handle()), SQL_ERROR);
    EXPECT_EQ(statement.errors().at(0).state, "S1010");
}

TEST(Faults, CancelFromAnotherThreadStopsASlowFetch) {
    V2Connection observer;
    V2Statement reset(observer);
    ASSERT_EQ(reset.execute("DELETE FROM veltro_driver_stats"), SQL_SUCCESS);
    V2Connection connection("FetchDelay=20000");
    V2Statement statement(connection);
    ASSERT_EQ(statement.execute("SELECT 1"), SQL_SUCCESS);
    // Once the fetch is in its delay, the cancel comes from another thread.
    const long waits = veltro::test::testDriverCounter("waits");
    std::thread canceller([&] {
        if (veltro::test::awaitTestDriverCounter("waits", waits + 1)) {
            SQLCancel(statement.handle());
        }
    });
    const SQLRETURN rc = SQLFetch(statement.handle());
    canceller.join();
    EXPECT_EQ(rc, SQL_ERROR);
    const auto errors = statement.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].state, "S1008");
    // Read elsewhere: every fetch on the slow connection waits 20 s.
    EXPECT_EQ(counter(observer, "cancel_calls", 2), 1);
}

TEST(Faults, CancelInterruptsLongSqliteWork) {
    V2Connection connection;
    V2Statement statement(connection);
    // Once the statement is in the driver's execute, the cancel comes from another thread.
    const long executions = veltro::test::testDriverCounter("executions");
    std::thread canceller([&] {
        if (veltro::test::awaitTestDriverCounter("executions", executions + 1)) {
            SQLCancel(statement.handle());
        }
    });
    const SQLRETURN rc = statement.execute(
        "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT count(*) FROM c");
    canceller.join();
    EXPECT_EQ(rc, SQL_ERROR);
    EXPECT_EQ(statement.errors().at(0).state, "S1008");
}
