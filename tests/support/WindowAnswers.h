#pragma once

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QTimer>

#include <deque>
#include <functional>

namespace veltro::test {

// Answers every dialog and popup menu that shows while it lives, in turn, once the window
// runs its own event loop; a window without an answer is closed.
class WindowAnswers : public QObject {
public:
    using Answer = std::function<void(QWidget&)>;

    WindowAnswers() { qApp->installEventFilter(this); }
    ~WindowAnswers() override { qApp->removeEventFilter(this); }

    std::deque<Answer> answers;
    int shown = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = qobject_cast<QWidget*>(watched);
        if (event->type() != QEvent::Show || window == nullptr ||
            (qobject_cast<QDialog*>(window) == nullptr &&
             qobject_cast<QMenu*>(window) == nullptr)) {
            return false;
        }
        ++shown;
        Answer answer = [](QWidget& w) { w.close(); };
        if (!answers.empty()) {
            answer = std::move(answers.front());
            answers.pop_front();
        }
        QTimer::singleShot(0, window, [window, answer] { answer(*window); });
        return false;
    }
};

} // namespace veltro::test
