#pragma once

#include "TestDriver.h"
#include "TestDriverHooks.h"

#include "execution/ExecutionControl.h"
#include "execution/ExecutionView.h"
#include "execution/MessageLoop.h"
#include "execution/SessionRuntime.h"
#include "odbc/CRecordsetEx.h"
#include "results/DelimitedStream.h"
#include "results/GridStore.h"
#include "session/Session.h"
#include "session/SessionHost.h"
#include "settings/MemorySettingsStore.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace veltro::test {

// Remembers what the window was asked to show, and lets a test act on the window's thread
// when a grid grows.
class RecordingView : public ExecutionView {
public:
    void showPaneText(int pane, const std::string& text) override { panes[pane] = text; }
    void runPendingClose() override { ++pendingCloses; }
    ResultSinkMaker resultSinkMaker() override {
        if (!gridWindowsWork) {
            return [] { return std::shared_ptr<ResultSink>(); };
        }
        if (stream != nullptr) {
            return [target = stream] { return target->nextResult(); };
        }
        return ExecutionView::resultSinkMaker();
    }
    void addGridWindow(const std::shared_ptr<ResultSink>& grid) override {
        if (auto store = std::dynamic_pointer_cast<GridStore>(grid)) {
            grids.push_back(store);
        }
    }
    void showCurrentDatabase(const std::string& name) override { currentDatabases.push_back(name); }
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
    // The current databases the worker read after its batches, in order.
    std::vector<std::string> currentDatabases;
    // Where result sets go instead of grids, when set.
    DelimitedStream* stream = nullptr;
};

// One connected session with the execution control of a window, run on the test's thread,
// made and let go as a session window does.
class BatchHarness {
public:
    explicit BatchHarness(const std::string& connectString)
        : runtime(SessionRuntime::create(settings, sessionHost, view)), session(runtime->session),
          loop(runtime->loop), control(runtime->control) {
        connected = session.Connect(connectString, std::nullopt);
    }
    ~BatchHarness() { runtime->shutdown(); }
    BatchHarness(const BatchHarness&) = delete;
    BatchHarness& operator=(const BatchHarness&) = delete;

    // Runs a batch to its completion message.
    void run(const std::string& batch, BatchOutput output = BatchOutput::grids) {
        control.Execute(batch, 0, 0, output);
        EXPECT_TRUE(waitForCompletion());
    }

    const BatchState& batch() const { return control.batch(); }

    // False when the batch is still running at the limit.
    bool waitForCompletion(std::chrono::seconds limit = std::chrono::seconds(120)) {
        if (!loop.runUntil([this] { return !batch().executing(); },
                           std::chrono::steady_clock::now() + limit)) {
            return false;
        }
        return control.waitForThreads(std::chrono::seconds(30));
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
    RecordingView view;
    std::shared_ptr<SessionRuntime> runtime;
    Session& session;
    MessageLoop& loop;
    ExecutionControl& control;
    bool connected = false;
};

} // namespace veltro::test
