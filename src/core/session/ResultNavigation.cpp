#include "session/ResultNavigation.h"

#include "results/ResultSink.h"
#include "session/ExecutionView.h"
#include "session/Session.h"

#include <cstdio>

namespace veltro {

ResultNavigation::ResultNavigation(Session& owner, ExecutionView& executionView)
    : session(owner), view(&executionView) {}

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
    if (number < 1 || number > static_cast<int>(session.gridList.size())) {
        return;
    }
    ResultSink& grid = *session.gridList[static_cast<std::size_t>(number - 1)];
    view->setResultsText("");
    if (session.gridCount > 1) {
        HideAllGrids();
    }
    view->presentGrid(grid);
    session.resultInfoText = gridInfoText(number, session.gridCount, grid.Rows() - 1, grid.Cols());
    view->showPaneText(resultInfoPane, session.resultInfoText);
}

void ResultNavigation::HideAllGrids() {
    for (const auto& grid : session.gridList) {
        if (grid) {
            view->setGridShown(*grid, false);
        }
    }
}

void ResultNavigation::DestroyAllGrids() {
    view->destroyGridWindows();
    if (!session.gridList.empty()) {
        session.gridList.clear();
        session.gridCount = 0;
    }
}

void ResultNavigation::UpdateResultInfo() {
    if (session.showsMessages()) {
        return;
    }
    const int number = session.currentGridNumber != 0 ? session.currentGridNumber : 1;
    if (number > static_cast<int>(session.gridList.size())) {
        return;
    }
    const ResultSink& grid = *session.gridList[static_cast<std::size_t>(number - 1)];
    session.resultInfoText = gridInfoText(number, session.gridCount, grid.Rows() - 1, grid.Cols());
    view->showPaneText(resultInfoPane, session.resultInfoText);
}

void ResultNavigation::ToggleMessages() {
    if (!session.showsMessages()) {
        HideAllGrids();
        view->setResultsText(session.messageBuffer);
        session.resultInfoText = messagesInfoText;
    } else if (!session.textBuffer.empty()) {
        view->setResultsText(session.textBuffer);
        session.resultInfoText = linesOfTextInfo(view->resultsLineCount());
    } else {
        const int number = session.currentGridNumber != 0 ? session.currentGridNumber : 1;
        if (number <= static_cast<int>(session.gridList.size())) {
            ShowGrid(number);
        } else if (session.gridList.empty()) {
            view->setResultsText("");
            session.resultInfoText = emptyGridInfoText;
        }
    }
    view->showPaneText(resultInfoPane, session.resultInfoText);
}

bool ResultNavigation::canGoPrevious() const {
    return session.currentGridNumber >= 2;
}

bool ResultNavigation::canGoNext() const {
    return session.currentGridNumber >= 1 && session.currentGridNumber < session.gridCount;
}

void ResultNavigation::goTo(int number) {
    session.currentGridNumber = number;
    ShowGrid(number);
}

void ResultNavigation::goPrevious() {
    if (canGoPrevious()) {
        goTo(session.currentGridNumber - 1);
    }
}

void ResultNavigation::goNext() {
    if (canGoNext()) {
        goTo(session.currentGridNumber + 1);
    }
}

void ResultNavigation::goFirst() {
    if (canGoPrevious()) {
        goTo(1);
    }
}

void ResultNavigation::goLast() {
    if (canGoNext()) {
        goTo(session.gridCount);
    }
}

bool ResultNavigation::canToggleMessages() const {
    return session.isConnected() && !session.messageBuffer.empty();
}

bool ResultNavigation::messagesChecked() const {
    return canToggleMessages() && session.showsMessages();
}

} // namespace veltro
