#pragma once

#include <string>

namespace veltro {

class ExecutionView;
class ResultSink;
class Session;
struct BatchState;

inline constexpr int resultInfoPane = 2;
inline constexpr const char* emptyGridInfoText = "Results grid #0 of 0; 0 row(s); 0 col(s)";

// What the results pane shows of a batch: one of its grids or its messages, and the
// result information of status pane 2.
class ResultNavigation {
public:
    ResultNavigation(Session& session, BatchState& batch, ExecutionView& view);

    void setView(ExecutionView& newView) { view = &newView; }

    void ShowGrid(int number);
    // Makes the grid on show visible, without touching the panes' texts.
    void ShowGridOnShow();
    void HideAllGrids();
    void DestroyAllGrids();
    void UpdateResultInfo();
    void ToggleMessages();

    // The navigation commands and their enabling rules.
    bool canGoPrevious() const;
    bool canGoNext() const;
    void goPrevious();
    void goNext();
    void goFirst();
    void goLast();

    // The Messages command: enabled, and shown checked.
    bool canToggleMessages() const;
    bool messagesChecked() const;

    static std::string gridInfoText(int number, int gridCount, int rows, int cols);
    static std::string linesOfTextInfo(int lines);

private:
    void goTo(int number);
    // The grid navigation has on show: the one the user moved to, or the first. It is the
    // one the results pane shows and status pane 2 describes.
    int numberOnShow() const;
    ResultSink* gridOnShow() const;

    Session& session;
    BatchState& batch;
    ExecutionView* view;
};

} // namespace veltro
