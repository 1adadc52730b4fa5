#include "session/StatusTipPane.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>

namespace veltro {

StatusTipPane::StatusTipPane(QLabel& label) : pane(label), status(label.text()) {}

void StatusTipPane::setStatusText(const QString& text) {
    if (text == status) {
        return;
    }
    status = text;
    tip.clear();
    show();
}

void StatusTipPane::showTip(const QString& text) {
    tip = text;
    show();
}

void StatusTipPane::checkPointer(const QWidget& window) {
    if (tip.isEmpty()) {
        return;
    }
    for (const QWidget* under = QApplication::widgetAt(QCursor::pos()); under != nullptr;
         under = under->parentWidget()) {
        if (under->statusTip() == tip) {
            return;
        }
        if (under == &window) {
            break;
        }
    }
    showTip({});
}

void StatusTipPane::show() {
    const QString& shown = tip.isEmpty() ? status : tip;
    if (pane.text() != shown) {
        pane.setText(shown);
    }
}

} // namespace veltro
