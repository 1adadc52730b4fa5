#pragma once

#include "results/GridStore.h"
#include "session/ExecutionControl.h"
#include "session/ExecutionView.h"
#include "session/LoopWorkerHost.h"
#include "session/MessageLoop.h"
#include "session/Session.h"
#include "session/SessionHost.h"
#include "settings/MemorySettingsStore.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

namespace veltro::test {

// Records the messages a worker sends, then hands them on as the window would.
class RecordingWorkerHost : public LoopWorkerHost {
public:
    using LoopWorkerHost::LoopWorkerHost;

    int sendGridRows(int rows, int cancelledValue) override {
        {
            std::lock_guard lock(mutex);
            rowCounts.push_back(rows);
        }
        return LoopWorkerHost::sendGridRows(rows, cancelledValue);
    }
    void selectCurrentDatabase() override { ++databaseRefreshes; }

    std::vector<int> sentRowCounts() {
        std::lock_guard lock(mutex);
        return rowCounts;
    }

    std::atomic<int> databaseRefreshes = 0;

private:
    std::mutex mutex;
    std::vector<int> rowCounts;
};

// Remembers what the window was asked to show.
class RecordingView : public ExecutionView {
public:
    void showPaneText(int pane, const std::string& text) override { panes[pane] = text; }
    void runPendingClose() override { ++pendingCloses; }
    bool createGridWindow(const std::shared_ptr<GridStore>&) override { return gridWindowsWork; }

    std::string panes[4];
    int pendingCloses = 0;
    bool gridWindowsWork = true;
};

// One connected session with the execution control of a window, run on the test's thread.
class BatchHarness {
public:
    explicit BatchHarness(const std::string& connectString)
        : session(settings, sessionHost), host(loop), control(session, view, host) {
        host.attach(control);
        connected = session.Connect(connectString, std::nullopt);
    }

    // Runs a batch to its completion message.
    void run(const std::string& batch) {
        control.Execute(batch);
        waitForCompletion();
    }

    void waitForCompletion() {
        loop.runUntil([this] { return !session.executing; });
        EXPECT_TRUE(control.waitForThreads(std::chrono::seconds(30)));
    }

    // Handles every message still on its way (a cancel thread's, say).
    void drain() {
        bool reached = false;
        loop.post([&reached] { reached = true; });
        loop.runUntil([&reached] { return reached; });
    }

    // A grid's texts, row by row.
    static std::vector<std::vector<std::string>> cells(const GridStore& grid) {
        std::vector<std::vector<std::string>> rows(static_cast<std::size_t>(grid.Rows()));
        for (int r = 0; r < grid.Rows(); ++r) {
            for (int c = 0; c < grid.Cols(); ++c) {
                rows[r].push_back(grid.TextMatrix(r, c).value_or("<none>"));
            }
        }
        return rows;
    }

    MemorySettingsStore settings;
    SessionHost sessionHost;
    Session session;
    MessageLoop loop;
    RecordingWorkerHost host;
    RecordingView view;
    ExecutionControl control;
    bool connected = false;
};

} // namespace veltro::test
