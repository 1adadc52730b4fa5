#pragma once

#include <QApplication>
#include <QElapsedTimer>

#include <functional>

namespace veltro::test {

// Runs the event loop until the condition holds or ten seconds pass.
inline bool waitFor(const std::function<bool()>& condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 10000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        // Closed windows are deleted later, which a nested loop does not do by itself.
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return condition();
}

} // namespace veltro::test
