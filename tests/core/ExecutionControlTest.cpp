#include "BatchHarness.h"
#include "TestDatabases.h"
#include "TestDriver.h"

#include "execution/LoopWorkerHost.h"
#include "execution/SessionThread.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace veltro {
namespace {

using test::BatchHarness;

TEST(ExecutionControl, CancelWhileIdleOnlyRunsThePendingClose) {
    BatchHarness h(test::sqliteConnectString(test::workFolder("exec-idle") / "e.db"));
    ASSERT_TRUE(h.connected);
    h.control.Cancel();
    EXPECT_EQ(h.view.pendingCloses, 1);
    EXPECT_FALSE(h.batch().cancelRequested());
    EXPECT_EQ(h.session.statusText, "Ready");
}

TEST(ExecutionControl, BatchStatusTextsAndTitlePreview) {
    BatchHarness h(test::sqliteConnectString(test::workFolder("exec-texts") / "e.db"));
    ASSERT_TRUE(h.connected);
    h.run("SELECT 1");
    EXPECT_EQ(h.view.panes[0], "Query batch completed");
    EXPECT_EQ(h.view.panes[2], "Results grid #1 of 1; 1 row(s); 1 col(s)");
    EXPECT_EQ(h.session.execTimeText, "Exec time: 00:00:00");
    EXPECT_FALSE(h.batch().executing());
    // A late completion message changes nothing.
    h.control.CompleteBatch({1, false});
    EXPECT_EQ(h.view.panes[0], "Query batch completed");
    h.control.ClearResults("");
    EXPECT_EQ(h.batch().gridCount(), 0);
}

// Out of memory where the worker reports its failure: the batch still completes.
TEST(ExecutionControl, AWorkerFailingOutsideItsBatchStillCompletesIt) {
    class FailingOnce : public LoopWorkerHost {
    public:
        using LoopWorkerHost::LoopWorkerHost;
        void postMessage(std::string text) override {
            if (!failed.exchange(true)) {
                throw std::bad_alloc();
            }
            LoopWorkerHost::postMessage(std::move(text));
        }
        std::atomic<bool> failed = false;
    };
    MemorySettingsStore settings;
    SessionHost sessionHost;
    test::RecordingView view;
    Session session(settings, sessionHost);
    MessageLoop loop;
    FailingOnce host(loop);
    ExecutionControl control(session, view, host);
    host.attach(control);
    ASSERT_TRUE(session.Connect(test::testDriver(), std::nullopt));
    control.Execute("SELECT nope");
    ASSERT_TRUE(loop.runUntil([&] { return !control.batch().executing(); },
                              std::chrono::steady_clock::now() + std::chrono::seconds(60)));
    EXPECT_EQ(session.statusText, "Query batch completed with errors");
    EXPECT_EQ(control.batch().messageBuffer, "Out-of-Memory.");
    EXPECT_TRUE(control.waitForThreads(std::chrono::seconds(30)));
}

TEST(ResultNavigation, StepsThroughThreeGridsWithItsEnablingRules) {
    BatchHarness h(test::testDriver());
    ASSERT_TRUE(h.connected);
    h.run("SELECT 1 AS a; SELECT 2 AS b UNION ALL SELECT 3; SELECT 4 AS c");
    ResultNavigation& nav = h.control.navigation();
    ASSERT_EQ(h.batch().gridCount(), 3);
    EXPECT_EQ(h.batch().currentGridNumber, 1);
    EXPECT_FALSE(nav.canGoPrevious());
    EXPECT_TRUE(nav.canGoNext());
    nav.goNext();
    EXPECT_EQ(h.batch().currentGridNumber, 2);
    EXPECT_EQ(h.view.panes[2], "Results grid #2 of 3; 2 row(s); 1 col(s)");
    EXPECT_TRUE(nav.canGoPrevious());
    nav.goLast();
    EXPECT_EQ(h.batch().currentGridNumber, 3);
    EXPECT_FALSE(nav.canGoNext());
    EXPECT_TRUE(nav.canGoPrevious());
    nav.goFirst();
    EXPECT_EQ(h.batch().currentGridNumber, 1);

    // The messages and back to the grid on show.
    EXPECT_TRUE(nav.canToggleMessages());
    nav.ToggleMessages();
    EXPECT_TRUE(nav.messagesChecked());
    EXPECT_EQ(h.view.panes[2], "Messages");
    nav.ToggleMessages();
    EXPECT_EQ(h.view.panes[2], "Results grid #1 of 3; 1 row(s); 1 col(s)");
}

TEST(ResultNavigation, OneGridDisablesAllFourAndShowsItsSize) {
    BatchHarness h(test::testDriver());
    ASSERT_TRUE(h.connected);
    h.run("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10) "
          "SELECT i, i * 2 AS d, 'x' AS e FROM n");
    ResultNavigation& nav = h.control.navigation();
    EXPECT_EQ(h.batch().currentGridNumber, 0);
    EXPECT_FALSE(nav.canGoPrevious());
    EXPECT_FALSE(nav.canGoNext());
    EXPECT_EQ(h.view.panes[2], "Results grid #1 of 1; 10 row(s); 3 col(s)");
}

TEST(ResultNavigation, TextBatchTogglesBackToItsText) {
    BatchHarness h(test::testDriver("DBMS_NAME=SQL Server"));
    ASSERT_TRUE(h.connected);
    h.run("SELECT 'line one' UNION ALL SELECT 'line two'", BatchOutput::text);
    ResultNavigation& nav = h.control.navigation();
    EXPECT_EQ(h.batch().textBuffer, "line oneline two");
    nav.ToggleMessages();
    EXPECT_EQ(h.view.panes[2], "Messages");
    nav.ToggleMessages();
    EXPECT_EQ(h.view.panes[2], "# of lines of text: 0");
}

class ExecutionControlPostgres : public testing::Test {
protected:
    void SetUp() override {
        connectString = test::postgresConnectString();
        VELTRO_REQUIRE_POSTGRES_OR_SKIP(connectString);
    }
    std::string connectString;
};

TEST_F(ExecutionControlPostgres, ExecuteWhileABatchRunsDoesNothing) {
    BatchHarness h(connectString);
    ASSERT_TRUE(h.connected);
    h.control.Execute("SELECT pg_sleep(0.5) AS slept");
    h.control.Execute("SELECT 2 AS other");
    h.waitForCompletion();
    ASSERT_EQ(h.batch().gridCount(), 1);
    EXPECT_EQ(h.grid(0).TextMatrix(0, 0), std::optional<std::string>("slept"));
}

TEST_F(ExecutionControlPostgres, CancelTwiceStartsOneCancelThread) {
    BatchHarness h(connectString);
    ASSERT_TRUE(h.connected);
    h.control.Execute("SELECT pg_sleep(30)");
    h.control.Cancel();
    EXPECT_EQ(h.session.statusText, "Attempting to cancel query batch...");
    h.control.Cancel();
    h.waitForCompletion();
    h.drain();
    // Each cancel thread reports back once.
    EXPECT_EQ(h.view.pendingCloses, 1);
    EXPECT_EQ(h.session.statusText, "Query batch canceled");
    EXPECT_EQ(h.batch().messageBuffer, "Query canceled by user.");
    EXPECT_EQ(h.batch().cancelled, 0);
}

TEST(SessionThread, RunsAtTheNiceValueOfItsPriority) {
    for (const int level : {-2, -1, 0}) {
        SessionThread thread;
        int nice = 99;
        std::string failure;
        ASSERT_TRUE(thread.start(
            [&nice] {
                errno = 0;
                nice = getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)));
            },
            level, failure));
        ASSERT_TRUE(thread.waitFor(std::chrono::seconds(10)));
        EXPECT_EQ(nice, niceValueOf(level));
    }
    EXPECT_EQ(niceValueOf(-2), 10);
    EXPECT_EQ(niceValueOf(0), 0);
    EXPECT_LT(niceValueOf(2), 0);
}

TEST(SessionThread, WaitingHasATimeLimit) {
    SessionThread thread;
    std::atomic<bool> release = false;
    std::string failure;
    ASSERT_TRUE(thread.start([&release] { release.wait(false); }, 0, failure));
    EXPECT_FALSE(thread.waitFor(std::chrono::milliseconds(50)));
    EXPECT_TRUE(thread.isRunning());
    release = true;
    release.notify_one();
    EXPECT_TRUE(thread.waitFor(std::chrono::seconds(10)));
    EXPECT_FALSE(thread.isRunning());
}

} // namespace
} // namespace veltro
