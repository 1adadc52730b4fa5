#include "execution/ResultNavigation.h"

#include "execution/BatchState.h"
#include "execution/ExecutionView.h"
#include "results/ResultSink.h"
#include "session/Session.h"

#include <cstdio>

namespace veltro {

ResultNavigation::ResultNavigation(Session& owner, BatchState& state, ExecutionView& executionView)
    : session(owner), batch(state), view(&executionView) {}

std::string ResultNavigation::gridInfoText(int number, int gridCount, int rows, int cols) {
    char text[120];
    std::snprintf(text, sizeof text, "Results grid #%d of %d; %d row(s); %d col(s)", number,
                  gridCount, rows, cols);
    return text;
}

std::string ResultNavigation::linesOfTextInfo(int lines) {
    char text[64];
    std::snprintf(text, sizeof text, "# of lines of text: %d", lines);
    return text;
}

void ResultNavigation::ShowGrid(int number) {
    if (number < 1 || number > static_cast<int>(batch.gridList.size())) {
        return;
    }
    ResultSink& grid = *batch.gridList[static_cast<std::size_t>(number - 1)];
    view->setResultsText("");
    if (batch.gridCount() > 1) {
        HideAllGrids();
    }
    view->presentGrid(grid);
    session.resultInfoText = gridInfoText(number, batch.gridCount(), grid.Rows() - 1, grid.Cols());
    view->showPaneText(resultInfoPane, session.resultInfoText);
}

int ResultNavigation::numberOnShow() const {
    return batch.currentGridNumber != 0 ? batch.currentGridNumber : 1;
}

ResultSink* ResultNavigation::gridOnShow() const {
    const int number = numberOnShow();
    return number <= batch.gridCount() ? batch.gridList[static_cast<std::size_t>(number - 1)].get()
                                       : nullptr;
}

void ResultNavigation::ShowGridOnShow() {
    ResultSink* grid = gridOnShow();
    if (grid == nullptr) {
        return;
    }
    if (batch.gridCount() > 1) {
        HideAllGrids();
    }
    view->setGridShown(*grid, true);
}

void ResultNavigation::HideAllGrids() {
    for (const auto& grid : batch.gridList) {
        if (grid) {
            view->setGridShown(*grid, false);
        }
    }
}

void ResultNavigation::DestroyAllGrids() {
    view->destroyGridWindows();
    batch.gridList.clear();
}

void ResultNavigation::UpdateResultInfo() {
    if (session.showsMessages()) {
        return;
    }
    const ResultSink* grid = gridOnShow();
    if (grid == nullptr) {
        return;
    }
    session.resultInfoText =
        gridInfoText(numberOnShow(), batch.gridCount(), grid->Rows() - 1, grid->Cols());
    view->showPaneText(resultInfoPane, session.resultInfoText);
}

void ResultNavigation::ToggleMessages() {
    if (!session.showsMessages()) {
        HideAllGrids();
        view->setResultsText(batch.messageBuffer);
        session.resultInfoText = messagesInfoText;
    } else if (!batch.textBuffer.empty()) {
        view->setResultsText(batch.textBuffer);
        session.resultInfoText = linesOfTextInfo(view->resultsLineCount());
    } else {
        if (gridOnShow() != nullptr) {
            ShowGrid(numberOnShow());
        } else if (batch.gridList.empty()) {
            view->setResultsText("");
            session.resultInfoText = emptyGridInfoText;
        }
    }
    view->showPaneText(resultInfoPane, session.resultInfoText);
}

bool ResultNavigation::canGoPrevious() const {
    return batch.currentGridNumber >= 2;
}

bool ResultNavigation::canGoNext() const {
    return batch.currentGridNumber >= 1 && batch.currentGridNumber < batch.gridCount();
}

void ResultNavigation::goTo(int number) {
    batch.currentGridNumber = number;
    ShowGrid(number);
}

void ResultNavigation::goPrevious() {
    if (canGoPrevious()) {
        goTo(batch.currentGridNumber - 1);
    }
}

void ResultNavigation::goNext() {
    if (canGoNext()) {
        goTo(batch.currentGridNumber + 1);
    }
}

void ResultNavigation::goFirst() {
    if (canGoPrevious()) {
        goTo(1);
    }
}

void ResultNavigation::goLast() {
    if (canGoNext()) {
        goTo(batch.gridCount());
    }
}

bool ResultNavigation::canToggleMessages() const {
    return session.isConnected() && !batch.messageBuffer.empty();
}

bool ResultNavigation::messagesChecked() const {
    return canToggleMessages() && session.showsMessages();
}

} // namespace veltro
