#pragma once

#include "TestDriver.h"
#include "TestDriverHooks.h"

#include "results/CRecordsetEx.h"
#include "results/DelimitedStream.h"
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
#include <functional>
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
    void postCurrentDatabase(std::string name) override {
        {
            std::lock_guard lock(mutex);
            databaseNames.push_back(name);
        }
        LoopWorkerHost::postCurrentDatabase(std::move(name));
    }

    std::vector<int> sentRowCounts() {
        std::lock_guard lock(mutex);
        return rowCounts;
    }

    // The current databases the worker read after its batches, in order.
    std::vector<std::string> currentDatabases() {
        std::lock_guard lock(mutex);
        return databaseNames;
    }

private:
    std::vector<std::string> databaseNames;
    std::mutex mutex;
    std::vector<int> rowCounts;
};

// Remembers what the window was asked to show, and lets a test act on the window's thread
// when a grid grows.
class RecordingView : public ExecutionView {
public:
    void showPaneText(int pane, const std::string& text) override { panes[pane] = text; }
    void runPendingClose() override { ++pendingCloses; }
    std::shared_ptr<ResultSink> createResultSink() override {
        if (!gridWindowsWork) {
            return nullptr;
        }
        if (stream != nullptr) {
            return stream->nextResult();
        }
        grids.push_back(std::make_shared<GridStore>());
        return grids.back();
    }
    void gridRowsChanged(const ResultSink& grid) override {
        if (onRowsChanged) {
            onRowsChanged(grid);
        }
    }
    void setGridShown(const ResultSink& grid, bool shown) override {
        if (shown) {
            shownGrid = &grid;
        } else if (shownGrid == &grid) {
            shownGrid = nullptr;
        }
    }
    void presentGrid(const ResultSink& grid) override { shownGrid = &grid; }
    void showFailedStatement(int line) override { failedStatementLine = line; }
    void destroyGridWindows() override {
        grids.clear();
        shownGrid = nullptr;
    }

    std::string panes[4];
    int pendingCloses = 0;
    bool gridWindowsWork = true;
    std::vector<std::shared_ptr<GridStore>> grids;
    const ResultSink* shownGrid = nullptr;
    int failedStatementLine = 0;
    std::function<void(const ResultSink&)> onRowsChanged;
    // Where result sets go instead of grids, when set.
    DelimitedStream* stream = nullptr;
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

    // The grids of the last batch, as the worker filled them.
    GridStore& grid(std::size_t index) { return *view.grids.at(index); }

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
