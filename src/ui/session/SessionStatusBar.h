#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <memory>

class QLabel;
class QStatusBar;
class QWidget;

namespace veltro {

class StatusTipPane;

// The session window's four status panes: the status text (which help texts take over
// while the pointer is on a control), the execution time, the result information and the
// caret position.
class SessionStatusBar {
public:
    SessionStatusBar(QStatusBar& bar, QWidget& window);
    ~SessionStatusBar();
    SessionStatusBar(const SessionStatusBar&) = delete;
    SessionStatusBar& operator=(const SessionStatusBar&) = delete;

    static constexpr std::size_t paneCount = 4;

    void setText(std::size_t pane, const QString& text);
    QString text(std::size_t pane) const;

    // Help texts for pane 0, and their end once the pointer has left their control.
    void showTip(const QString& tip);
    void checkPointer();

private:
    void fitPane(std::size_t pane, const QString& text);

    QWidget& window;
    std::array<QLabel*, paneCount> panes{};
    std::unique_ptr<StatusTipPane> statusTips;
};

} // namespace veltro
