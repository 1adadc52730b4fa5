// Cancelling a batch at every stage, closing a session under a running batch, and a window
// thread that reads everything the worker hands over while it runs.
#include "BatchHarness.h"
#include "TestDatabases.h"
#include "TestDriver.h"

#include "odbc/OdbcConnection.h"
#include "session/SessionRuntime.h"

#include <gtest/gtest.h>

namespace veltro {
namespace {

using test::awaitTestDriverCounter;
using test::BatchHarness;
using test::testDriverCounter;

constexpr const char* manyRows = "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                 "FROM n WHERE i < 5000) SELECT i FROM n";

// When, during a batch, the user presses Cancel.
enum class Stage { beforeTheStatement, duringExecute, betweenFetchSteps, betweenResults };

struct CancelCase {
    const char* name;
    Stage stage;
    std::string connectString;
    std::string batch;
};

// inExecute returns once the statement is in the driver's execute.
void cancelAt(BatchHarness& h, const CancelCase& c, const std::function<bool()>& inExecute) {
    switch (c.stage) {
    case Stage::beforeTheStatement:
        h.control.Execute(c.batch);
        h.control.Cancel();
        break;
    case Stage::duringExecute:
        h.control.Execute(c.batch);
        ASSERT_TRUE(inExecute()) << c.name;
        h.control.Cancel();
        break;
    case Stage::betweenFetchSteps:
    case Stage::betweenResults: {
        // At the first growth step, or at the first result's last row count: its grid is
        // complete and the next not begun.
        const int rows = c.stage == Stage::betweenFetchSteps ? 700 : 2;
        h.view.onRowsChanged = [&h, rows](const ResultSink& grid) {
            if (grid.Rows() == rows) {
                h.control.Cancel();
            }
        };
        h.control.Execute(c.batch);
        break;
    }
    }
    h.waitForCompletion();
}

void expectCancelled(BatchHarness& h, const CancelCase& c) {
    EXPECT_EQ(h.session.statusText, "Query batch canceled") << c.name;
    const std::string& messages = h.session.messageBuffer;
    EXPECT_EQ(messages.substr(messages.size() - std::min<std::size_t>(messages.size(), 23)),
              "Query canceled by user.")
        << c.name << ": " << messages;
    if (c.stage == Stage::betweenResults) {
        EXPECT_EQ(h.session.gridCount, 1) << c.name;
    }
    if (c.stage == Stage::betweenFetchSteps) {
        ASSERT_EQ(h.session.gridCount, 1) << c.name;
        EXPECT_LT(h.grid(0).Rows(), 701) << c.name;
    }
}

TEST(BatchCancel, EndsCancelledAtEveryStageOnTheTestDriver) {
    const CancelCase cases[] = {
        {"before the statement", Stage::beforeTheStatement, test::testDriver("ExecDelay=60000"),
         "SELECT 1 AS a"},
        {"during execute", Stage::duringExecute, test::testDriver("ExecDelay=60000"),
         "SELECT 1 AS a"},
        {"between fetch steps", Stage::betweenFetchSteps, test::testDriver("FetchDelay=1"),
         manyRows},
        {"between results", Stage::betweenResults, test::testDriver("FetchDelay=1"),
         std::string("SELECT 1 AS a; ") + manyRows},
        {"between statements", Stage::betweenResults,
         test::testDriver("SQL_MULT_RESULT_SETS=N;FetchDelay=1"),
         std::string("SELECT 1 AS a; ") + manyRows},
        {"Anywhere, between fetch steps", Stage::betweenFetchSteps,
         test::testDriver("DBMS_NAME=Sybase SQL Anywhere;FetchDelay=1"), manyRows},
    };
    for (const CancelCase& c : cases) {
        // Early cancels race the worker's start: try that moment many times.
        const int tries = c.stage == Stage::beforeTheStatement ? 20 : 1;
        for (int attempt = 0; attempt < tries; ++attempt) {
            BatchHarness h(c.connectString);
            ASSERT_TRUE(h.connected) << c.name;
            const long cancelsBefore = testDriverCounter("cancel_calls");
            // The execute's delay has begun: the driver has taken the statement.
            const long waitsBefore = testDriverCounter("waits");
            cancelAt(h, c, [&] { return awaitTestDriverCounter("waits", waitsBefore + 1); });
            expectCancelled(h, c);
            const long cancels = testDriverCounter("cancel_calls") - cancelsBefore;
            if (c.stage == Stage::duringExecute) {
                EXPECT_GE(cancels, 1) << "the cancel must reach the driver";
            }
            if (std::string(c.name).starts_with("Anywhere")) {
                EXPECT_EQ(cancels, 0) << "no SQLCancel on this DBMS";
            }
        }
    }
}

TEST(BatchCancel, ARequestBeforeTheStatementKeepsItFromTheDriver) {
    BatchHarness h(test::testDriver());
    ASSERT_TRUE(h.connected);
    CRecordsetEx& recordset = *h.session.batchRecordset;
    const long executionsBefore = testDriverCounter("executions");
    recordset.Cancel(recordset.NewCancelScope(), true);
    EXPECT_THROW(recordset.Execute("SELECT 1 AS a"), StatementCancelled);
    EXPECT_EQ(testDriverCounter("executions"), executionsBefore);
    // A new scope forgets the request; a request for an old scope changes nothing.
    const std::uint64_t old = recordset.NewCancelScope();
    recordset.NewCancelScope();
    recordset.Cancel(old, true);
    EXPECT_TRUE(recordset.Execute("SELECT 1 AS a"));
}

TEST(BatchCancel, EndsCancelledAtEveryStageOnPostgres) {
    const std::string connectString = test::postgresConnectString();
    VELTRO_REQUIRE_POSTGRES_OR_SKIP(connectString);
    // Held here, the lock keeps the batch's statement in its execute until it is cancelled:
    // a cancel that went astray would leave it there, and the batch would never end.
    BatchHarness holder(connectString);
    ASSERT_TRUE(holder.connected);
    CRecordsetEx lock(holder.session.connection);
    ASSERT_TRUE(lock.Execute("SELECT pg_advisory_lock(4711)"));
    const CancelCase cases[] = {
        {"before the statement or in its execute", Stage::beforeTheStatement, connectString,
         "SELECT pg_advisory_lock(4711)"},
        {"between fetch steps", Stage::betweenFetchSteps,
         connectString + ";UseDeclareFetch=1;Fetch=100",
         "SELECT n FROM generate_series(1, 1000000) AS n"},
        {"between results", Stage::betweenResults, connectString, "SELECT 1 AS a; SELECT 2 AS b"},
    };
    for (const CancelCase& c : cases) {
        // The moment of a cancel right after Execute varies: try it many times.
        const int tries = c.stage == Stage::beforeTheStatement ? 20 : 1;
        for (int attempt = 0; attempt < tries; ++attempt) {
            BatchHarness h(c.connectString);
            ASSERT_TRUE(h.connected) << c.name;
            cancelAt(h, c, [] { return false; });
            expectCancelled(h, c);
        }
    }
}

class ClosingSession : public testing::Test {
protected:
    std::shared_ptr<SessionRuntime> connect(const std::string& attributes) {
        auto runtime = SessionRuntime::create(settings, host, view);
        EXPECT_TRUE(runtime->session.Connect(test::testDriver(attributes), std::nullopt));
        return runtime;
    }

    MemorySettingsStore settings;
    SessionHost host;
    test::RecordingView view;
};

TEST_F(ClosingSession, WithoutCancellingFirstEndsTheBatchAndItsThreads) {
    // In the driver's execute, and waiting for the window to make its first grid.
    for (const char* attributes : {"ExecDelay=60000", "FetchDelay=1"}) {
        const auto runtime = connect(attributes);
        const long waitsBefore = testDriverCounter("waits");
        runtime->control.Execute(manyRows);
        ASSERT_TRUE(awaitTestDriverCounter("waits", waitsBefore + 1)) << attributes;
        EXPECT_TRUE(runtime->shutdown(std::chrono::seconds(30))) << attributes;
        EXPECT_FALSE(runtime->control.threadsRunning()) << attributes;
        EXPECT_FALSE(runtime->session.connection->isOpen()) << attributes;
    }
}

// Under ThreadSanitizer: the window's thread reads grids, messages and status while the
// worker writes them, as a session window does with its timer, repaints and F4.
TEST(WorkerHandOver, TheWindowReadsWhatTheWorkerProducesWhileItRuns) {
    BatchHarness h(test::testDriver());
    ASSERT_TRUE(h.connected);
    std::size_t cellsRead = 0;
    std::string messagesSeen;
    h.view.onRowsChanged = [&](const ResultSink&) {
        for (const auto& grid : h.view.grids) {
            for (int r = 0; r < grid->Rows(); ++r) {
                cellsRead += grid->TextMatrix(r, 0).value_or("").size();
            }
        }
        messagesSeen = h.session.messageBuffer;
        h.control.onTimer();
        h.control.onRepaintGrid();
    };
    h.run(std::string(manyRows) + "; " + manyRows + "; SELECT 'x' AS y");
    EXPECT_EQ(h.session.gridCount, 3);
    EXPECT_GT(cellsRead, 0u);
    EXPECT_EQ(messagesSeen, "[5000 row(s) affected (application specific)]\n\n"
                            "[5000 row(s) affected (application specific)]");
    EXPECT_EQ(h.session.messageBuffer, messagesSeen + "\n\n"
                                                      "[1 row(s) affected (application "
                                                      "specific)]");
}

} // namespace
} // namespace veltro
