#pragma once

#include <string>

namespace veltro {

class ExecutionControl;
class Session;
class SettingsStore;

// What the results pane asks of the session window that holds it.
class ResultViewOwner {
public:
    virtual ~ResultViewOwner() = default;

    virtual Session& session() = 0;
    // For Clear All with a grid on show: the session's ClearResults.
    virtual ExecutionControl& executionControl() = 0;
    // Where the pane stores its word wrap and fonts.
    virtual SettingsStore& settings() = 0;

    // Shows a text in one of the session's status panes (0 status, 1 execution time,
    // 2 result information) without changing the session's texts.
    virtual void setPaneText(int pane, const std::string& text) = 0;
    // Brings the status panes up to date with the session's texts and the grid on show.
    virtual void updateStatusPanes() {}
    virtual void focusQueryEditor() = 0;

    // The query document's title; printing names its job after the pane's title meanwhile.
    virtual std::string documentTitle() const = 0;
    virtual void setDocumentTitle(const std::string& title) = 0;
    // The session window's drawing is locked while printing.
    virtual void setDrawingLocked(bool locked) { (void)locked; }
};

} // namespace veltro
