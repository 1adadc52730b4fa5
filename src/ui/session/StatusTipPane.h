#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace veltro {

// Status pane 0 of a session window: the session's last status text, or, while the pointer
// rests on a control of the window, that control's help text. The help text goes as soon as
// the session has something new to say or the pointer is found elsewhere, so that a lost
// leave (a drop-down list closing under the pointer) cannot keep it on show.
class StatusTipPane {
public:
    explicit StatusTipPane(QLabel& label);

    void setStatusText(const QString& text);
    // An empty tip ends the one on show.
    void showTip(const QString& tip);
    // Ends the tip unless the pointer is over a control of window that carries it.
    void checkPointer(const QWidget& window);
    QString statusText() const { return status; }

private:
    void show();

    QLabel& pane;
    QString status;
    QString tip;
};

} // namespace veltro
