#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace veltro {

// What the Go To dialog needs of the active session window.
class GoToSession {
public:
    virtual ~GoToSession() = default;

    // The current row of the grid on show, when the results pane is the active view and
    // shows a grid; the dialog then only reports it.
    virtual std::optional<int> shownGridRow() const = 0;
    // The active text pane: the query editor or the results pane's text output. A
    // QsciScintilla or a QPlainTextEdit; nullptr when there is none.
    virtual QWidget* activeTextPane() const = 0;
    // Shows a text ("Ln %d, Col %d") in the caret pane at once.
    virtual void setCaretText(const QString& text) = 0;
};

} // namespace veltro
