#pragma once

#include "editor/GoToLine.h"

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;

namespace veltro {

class GoToSession;

// The modeless Go To dialog of the main frame: moves the caret of the active session's
// text pane to a line, to the next or to the previous line, and shows the current line
// (or the current row of a grid on show, without moving anything).
class CGoToDlg : public QDialog {
    Q_OBJECT

public:
    // Finds the active session window; nullptr when there is none.
    using SessionFinder = std::function<GoToSession*()>;

    explicit CGoToDlg(SessionFinder activeSession, QWidget* parent = nullptr);

    // The Go To command: centre over the main frame, show and refresh.
    void showAndRefresh();
    // Reads the active session's current line (or grid row) into the edit.
    void refresh();

    QLineEdit* lineEdit() const { return lineField; }
    QPushButton* goToButton() const { return goButton; }
    QPushButton* previousButton() const { return prevButton; }
    QPushButton* closeButton() const { return closeBtn; }

public slots:
    void goTo();
    void previous();

protected:
    void changeEvent(QEvent* event) override;

private:
    void onLineChanged(const QString& text);
    void move(GoToMode mode);

    SessionFinder activeSession;
    QLineEdit* lineField;
    QPushButton* goButton;
    QPushButton* prevButton;
    QPushButton* closeBtn;
    bool nextMode = false;
    bool gridMode = false;
};

} // namespace veltro
