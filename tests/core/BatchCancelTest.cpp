// Cancelling a batch at every stage, closing a session under a running batch, and a window
// thread that reads everything the worker hands over while it runs.
#include "BatchHarness.h"
#include "TestDatabases.h"
#include "TestDriver.h"

#include "execution/SessionRuntime.h"
#include "odbc/OdbcConnection.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace veltro {
namespace {

using test::awaitTestDriverCounter;
using test::BatchHarness;
using test::testDriverCounter;

constexpr const char* manyRows = "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                 "FROM n WHERE i < 5000) SELECT i FROM n";

// When, during a batch, the user presses Cancel.
enum class Stage { beforeTheStatement, inTheDriver, whileFetching, afterTheFirstResult };

struct CancelCase {
    const char* name;
    Stage stage;
    std::string connectString;
    std::string batch;
    // In the driver: the test driver's counter that shows the worker there.
    const char* counter = "waits";
    // Cancels that must reach the driver at least (the Anywhere family: none at all).
    int cancelCalls = 0;
    // The rows of the result that a cancel cuts short.
    int allRows = 5000;
};

void cancelAt(BatchHarness& h, const CancelCase& c) {
    switch (c.stage) {
    case Stage::beforeTheStatement:
        h.control.Execute(c.batch);
        h.control.Cancel();
        break;
    case Stage::inTheDriver: {
        const long before = testDriverCounter(c.counter);
        h.control.Execute(c.batch);
        ASSERT_TRUE(awaitTestDriverCounter(c.counter, before + 1)) << c.name;
        h.control.Cancel();
        break;
    }
    case Stage::whileFetching:
    case Stage::afterTheFirstResult: {
        // Once the first grid has rows, or once it is complete. The worker does not wait
        // for the window: it fetches on until the request reaches it.
        const bool fetching = c.stage == Stage::whileFetching;
        h.view.onRowsChanged = [&h, fetching](const ResultSink& grid) {
            if (h.batch().gridCount() == 1 && (fetching ? grid.Rows() >= 700 : grid.Rows() == 2)) {
                h.control.Cancel();
            }
        };
        h.control.Execute(c.batch);
        break;
    }
    }
    // Each driver call here would take far longer than this unless cancelled.
    ASSERT_TRUE(h.waitForCompletion(std::chrono::seconds(60))) << c.name;
}

void expectCancelled(BatchHarness& h, const CancelCase& c) {
    EXPECT_EQ(h.session.statusText, "Query batch canceled") << c.name;
    const std::string& messages = h.batch().messageBuffer;
    EXPECT_TRUE(messages.ends_with("Query canceled by user.")) << c.name << ": " << messages;
    if (c.stage == Stage::whileFetching) {
        ASSERT_EQ(h.batch().gridCount(), 1) << c.name;
        const GridStore& grid = h.grid(0);
        EXPECT_LT(grid.Rows(), c.allRows + 1) << c.name;
        // Every row left is complete: the one being read when the cancel came was cut.
        const int last = grid.Rows() - 1;
        if (last > 0) {
            EXPECT_EQ(grid.TextMatrix(last, 0), std::optional<std::string>(std::to_string(last)))
                << c.name;
        }
    }
    if (c.stage == Stage::afterTheFirstResult) {
        // The first result's row may go with the cancel, as the last row fetched does.
        ASSERT_GE(h.batch().gridCount(), 1) << c.name;
        EXPECT_LE(h.grid(0).Rows(), 2) << c.name;
        if (h.batch().gridCount() > 1) {
            EXPECT_LT(h.grid(1).Rows(), c.allRows + 1) << c.name;
        }
    }
}

TEST(BatchCancel, EndsCancelledAtEveryStageOnEveryDriver) {
    const std::string many = manyRows;
    const std::string slowFetch = "FetchDelay=1";
    std::vector<CancelCase> cases = {
        {"before the statement", Stage::beforeTheStatement, test::testDriver("ExecDelay=60000"),
         "SELECT 1 AS a"},
        {"in execute", Stage::inTheDriver, test::testDriver("ExecDelay=60000"), "SELECT 1 AS a",
         "waits", 1},
        {"in execute, the first cancel missed", Stage::inTheDriver,
         test::testDriver("ExecDelay=60000;MissCancel=1"), "SELECT 1 AS a", "waits", 2},
        {"in a fetch still executing", Stage::inTheDriver,
         test::testDriver("StillExecuting.Fetch=100000000"), "SELECT 1 AS a", "still_executing", 1},
        {"in a description still executing", Stage::inTheDriver,
         test::testDriver("StillExecuting.Describe=100000000"), "SELECT 1 AS a", "still_executing",
         1},
        {"in a value read still executing", Stage::inTheDriver,
         test::testDriver("StillExecuting.GetData=100000000"), "SELECT 1 AS a", "still_executing",
         1},
        {"in a long value read in pieces", Stage::inTheDriver,
         test::testDriver("NoTotal=all;StillExecuting.GetData=100000000"),
         "SELECT hex(randomblob(100000)) AS v", "still_executing", 1},
        {"while fetching", Stage::whileFetching, test::testDriver(slowFetch), many},
        {"after the first result", Stage::afterTheFirstResult, test::testDriver(slowFetch),
         "SELECT 1 AS a; " + many},
        {"after the first statement", Stage::afterTheFirstResult,
         test::testDriver("SQL_MULT_RESULT_SETS=N;" + slowFetch),
         "SELECT 1 AS a; " + many + "; CREATE TABLE never_made (x INTEGER)"},
        {"Anywhere, while fetching", Stage::whileFetching,
         test::testDriver("DBMS_NAME=Sybase SQL Anywhere;" + slowFetch), many},
    };
    // Held here, the lock keeps a statement in its execute until it is cancelled: a cancel
    // that went astray would leave it there, and the batch would never end.
    const std::string postgres = test::postgresConnectString();
    std::optional<BatchHarness> holder;
    if (!postgres.empty()) {
        holder.emplace(postgres);
        ASSERT_TRUE(holder->connected);
        holder->run("SELECT pg_advisory_lock(4711)");
        cases.push_back({"PostgreSQL, before the statement or in its execute",
                         Stage::beforeTheStatement, postgres, "SELECT pg_advisory_lock(4711)"});
        cases.push_back({"PostgreSQL, while fetching", Stage::whileFetching,
                         postgres + ";UseDeclareFetch=1;Fetch=100",
                         "SELECT n FROM generate_series(1, 1000000) AS n", "waits", 0, 1000000});
    }
    for (const CancelCase& c : cases) {
        // A cancel right after Execute meets the worker at varying moments: try many.
        const int tries = c.stage == Stage::beforeTheStatement ? 20 : 1;
        for (int attempt = 0; attempt < tries; ++attempt) {
            BatchHarness h(c.connectString);
            ASSERT_TRUE(h.connected) << c.name;
            const long cancelsBefore = testDriverCounter("cancel_calls");
            cancelAt(h, c);
            expectCancelled(h, c);
            const long cancels = testDriverCounter("cancel_calls") - cancelsBefore;
            if (c.cancelCalls > 0) {
                EXPECT_GE(cancels, c.cancelCalls) << c.name << ": the cancel must reach the driver";
            }
            if (std::string(c.name).starts_with("Anywhere")) {
                EXPECT_EQ(cancels, 0) << "no SQLCancel on this DBMS";
            }
            if (std::string(c.name) == "after the first statement") {
                h.view.onRowsChanged = nullptr;
                h.run("SELECT COUNT(*) AS n FROM sqlite_master WHERE name = 'never_made'");
                EXPECT_EQ(h.grid(0).TextMatrix(1, 0), std::optional<std::string>("0"));
            }
        }
    }
    VELTRO_REQUIRE_POSTGRES_OR_SKIP(postgres);
}

TEST(BatchCancel, ARequestBeforeTheStatementKeepsItFromTheDriver) {
    BatchHarness h(test::testDriver());
    ASSERT_TRUE(h.connected);
    CRecordsetEx& recordset = *h.session.batchRecordset;
    const long executionsBefore = testDriverCounter("executions");
    CancelScope& scope = recordset.cancelScope();
    scope.request(scope.renew(), true);
    EXPECT_THROW(recordset.Execute("SELECT 1 AS a"), StatementCancelled);
    EXPECT_EQ(testDriverCounter("executions"), executionsBefore);
    // A new scope forgets the request; a request for an old scope changes nothing.
    const std::uint64_t old = scope.renew();
    scope.renew();
    scope.request(old, true);
    EXPECT_TRUE(recordset.Execute("SELECT 1 AS a"));
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
    // In the driver's execute, and between fetched rows.
    for (const char* attributes : {"ExecDelay=60000", "FetchDelay=1"}) {
        const auto runtime = connect(attributes);
        const long waitsBefore = testDriverCounter("waits");
        runtime->control.Execute(manyRows);
        ASSERT_TRUE(awaitTestDriverCounter("waits", waitsBefore + 1)) << attributes;
        runtime->shutdown();
        // The cancel ends the worker long before the driver's delay would.
        EXPECT_TRUE(runtime->control.waitForThreads(std::chrono::seconds(30))) << attributes;
    }
}

// Under ThreadSanitizer: the window's thread reads grids, messages and status while the
// worker writes them, as a session window does with its timer, repaints and F4. The worker
// never waits for the window, so the two really overlap.
TEST(WorkerHandOver, TheWindowReadsWhatTheWorkerProducesWhileItRuns) {
    BatchHarness h(test::testDriver());
    ASSERT_TRUE(h.connected);
    std::size_t cellsRead = 0;
    std::vector<std::string> messagesSeen;
    h.view.onRowsChanged = [&](const ResultSink&) {
        for (const auto& grid : h.view.grids) {
            for (int r = 0; r < grid->Rows(); ++r) {
                cellsRead += grid->TextMatrix(r, 0).value_or("").size();
            }
        }
        messagesSeen.push_back(h.batch().messageBuffer);
        h.control.onTimer();
    };
    h.run(std::string(manyRows) + "; " + manyRows + "; SELECT 'x' AS y");
    EXPECT_EQ(h.batch().gridCount(), 3);
    EXPECT_GT(cellsRead, 0u);
    const std::string all = "[5000 row(s) affected (application specific)]\n\n"
                            "[5000 row(s) affected (application specific)]\n\n"
                            "[1 row(s) affected (application specific)]";
    EXPECT_EQ(h.batch().messageBuffer, all);
    // Messages arrive whole and in order, whenever the window looks.
    for (const std::string& seen : messagesSeen) {
        EXPECT_TRUE(all.starts_with(seen)) << seen;
    }
}

} // namespace
} // namespace veltro
