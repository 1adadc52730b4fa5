#include "session/SessionStatusBar.h"

#include "session/StatusTipPane.h"

#include <QLabel>
#include <QStatusBar>

#include <algorithm>

namespace veltro {

SessionStatusBar::SessionStatusBar(QStatusBar& bar, QWidget& owner) : window(owner) {
    const std::array<QString, paneCount> initial = {"<Pane text zero goes here>",
                                                    "<Exec time info goes here>",
                                                    "<Result set info goes here>", "Ln 1, Col 1"};
    for (std::size_t i = 0; i < panes.size(); ++i) {
        panes[i] = new QLabel(initial[i], &bar);
        if (i == 0) {
            // The stretching pane gives way to the others and cuts its own text instead.
            panes[i]->setMinimumWidth(1);
            panes[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            bar.addWidget(panes[i], 1);
            statusTips = std::make_unique<StatusTipPane>(*panes[i]);
        } else {
            bar.addPermanentWidget(panes[i]);
        }
    }
    // Room from the start for the texts every session shows (the placeholders above are
    // replaced before the window is first seen).
    const std::array<QString, paneCount> usualTexts = {
        QString(), "Exec time: 00:00:00", "Results grid #1 of 1; 100 row(s); 10 col(s)",
        "Ln 100, Col 10"};
    for (std::size_t i = 1; i < panes.size(); ++i) {
        fitPane(i, usualTexts[i]);
    }
    bar.setSizeGripEnabled(false);
}

SessionStatusBar::~SessionStatusBar() = default;

void SessionStatusBar::setText(std::size_t pane, const QString& text) {
    if (pane >= panes.size()) {
        return;
    }
    if (pane == 0) {
        statusTips->setStatusText(text);
        return;
    }
    if (panes[pane]->text() == text) {
        return;
    }
    panes[pane]->setText(text);
    fitPane(pane, text);
}

QString SessionStatusBar::text(std::size_t pane) const {
    return pane < panes.size() ? panes[pane]->text() : QString();
}

void SessionStatusBar::showTip(const QString& tip) {
    statusTips->showTip(tip);
}

void SessionStatusBar::checkPointer() {
    statusTips->checkPointer(window);
}

// A fixed pane is never narrower than its standard width, and grows to the longest text it
// has shown, so that no text is cut and the panes do not shift back and forth.
void SessionStatusBar::fitPane(std::size_t pane, const QString& text) {
    constexpr std::array<int, paneCount> standardWidths = {0, 100, 230, 100};
    QLabel* label = panes[pane];
    const int needed =
        label->fontMetrics().horizontalAdvance(text) + 2 * label->fontMetrics().averageCharWidth();
    const int width = std::max({standardWidths[pane], needed, label->minimumWidth()});
    if (width != label->minimumWidth()) {
        label->setMinimumWidth(width);
    }
}

} // namespace veltro
