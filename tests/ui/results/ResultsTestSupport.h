#pragma once

#include "ScriptedPrompts.h"
#include "TestApplication.h"
#include "TestDriver.h"
#include "execution/ExecutionControl.h"
#include "execution/ExecutionView.h"
#include "execution/WorkerHost.h"
#include "results/CMSFlexGrid.h"
#include "results/CResultView.h"
#include "results/GridStore.h"
#include "results/ResultViewOwner.h"
#include "session/Session.h"
#include "session/SessionHost.h"
#include "settings/MemorySettingsStore.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

namespace veltro::test {

inline QApplication& application() {
    return testApplication();
}

// A grid of rows x cols (header included) whose cells read "r<row>c<col>".
inline std::shared_ptr<GridStore> filledGrid(int rows, int cols) {
    auto grid = std::make_shared<GridStore>();
    grid->SetCols(cols);
    grid->SetRows(rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            grid->SetTextMatrix(r, c, "r" + std::to_string(r) + "c" + std::to_string(c));
        }
    }
    return grid;
}

// A session window as the results pane sees it: a real session record and execution control
// that reach the pane the way the session window does.
class FakeSessionWindow : public ResultViewOwner, public ExecutionView {
public:
    FakeSessionWindow() : record(store, host), control(record, *this, worker) {
        pane = std::make_unique<CResultView>(*this);
        pane->resize(400, 300);
    }

    // A grid as the new-grid message makes it, optionally shown.
    CMSFlexGrid* addGrid(std::shared_ptr<GridStore> grid, bool show) {
        control.onNewGrid(grid);
        CMSFlexGrid* widget = pane->gridFor(*grid);
        widget->rowsChanged();
        if (show) {
            pane->showGrid(widget);
        }
        return widget;
    }

    // A batch on the test driver whose worker's messages go nowhere: the control stays in
    // it until the test hands it the messages that end it. Grids come after this.
    void startBatch(BatchOutput output = BatchOutput::grids) {
        ASSERT_TRUE(record.Connect(testDriver("DBMS_NAME=SQL Server"), std::nullopt));
        control.Execute("select 1", 0, 0, output);
        ASSERT_TRUE(control.batch().executing());
    }
    const BatchState& batch() const { return control.batch(); }

    Session& session() override { return record; }
    ExecutionControl& executionControl() override { return control; }
    SettingsStore& settings() override { return store; }
    void setPaneText(int paneIndex, const std::string& text) override {
        panes[paneIndex] = text;
        paneHistory.push_back(text);
    }
    void focusQueryEditor() override { ++editorFocusRequests; }
    std::string documentTitle() const override { return title; }
    void setDocumentTitle(const std::string& text) override {
        title = text;
        titles.push_back(text);
    }

    void destroyGridWindows() override { pane->destroyAllGrids(); }
    void addGridWindow(const std::shared_ptr<ResultSink>& grid) override {
        pane->createGrid(std::dynamic_pointer_cast<GridStore>(grid));
    }
    void setGridShown(const ResultSink& grid, bool shown) override {
        pane->setGridShown(grid, shown);
    }
    void presentGrid(const ResultSink& grid) override { pane->showGrid(pane->gridFor(grid)); }
    void gridRowsChanged(const ResultSink& grid) override { pane->gridRowsChanged(grid); }
    void setResultsText(const std::string& text) override { pane->setPaneText(text); }
    void setResultsRedraw(bool on) override { pane->setRedraw(on); }

    MemorySettingsStore store;
    SessionHost host;
    Session record;
    WorkerHost worker;
    ExecutionControl control;
    std::unique_ptr<CResultView> pane;
    std::map<int, std::string> panes;
    std::vector<std::string> paneHistory;
    std::vector<std::string> titles;
    std::string title = "Query1";
    int editorFocusRequests = 0;
};

class ResultsUiTest : public ::testing::Test {
protected:
    ResultsUiTest() { application(); }
    ScriptedPrompts prompts;
};

} // namespace veltro::test
