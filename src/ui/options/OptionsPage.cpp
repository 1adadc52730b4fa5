#include "options/OptionsPage.h"

#include "app/PromptService.h"
#include "options/COptionsSheet.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace veltro {

namespace {

// A page's grid: an indent, the labels, the boxes.
constexpr int groupColumns = 3;
constexpr int groupIndent = 12;
constexpr int pageWidthUnits = 206;
constexpr int pageHeightUnits = 130;

} // namespace

OptionsPage::OptionsPage(COptionsSheet& owner) : sheet(owner) {
    // A page of 206 by 130 dialog units: a unit is a quarter of the average character's
    // width and an eighth of the font's height.
    const QFontMetrics metrics = fontMetrics();
    setMinimumSize(pageWidthUnits * metrics.averageCharWidth() / 4,
                   pageHeightUnits * metrics.height() / 8);
}

void OptionsPage::showEvent(QShowEvent* event) {
    shown = true;
    QWidget::showEvent(event);
}

QLineEdit* OptionsPage::numberBox(const NumberOption& option) {
    auto* box = new QLineEdit(this);
    box->setMaxLength(static_cast<int>(option.maxCharacters));
    box->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), box));
    // Room for the longest number and a little more.
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(
                           QString(static_cast<int>(option.maxCharacters) + 2, '0')) +
                       12);
    return box;
}

QGridLayout* OptionsPage::startGrid(const QString& firstGroupTitle) {
    auto* grid = new QGridLayout(this);
    grid->setColumnMinimumWidth(0, groupIndent);
    grid->setColumnStretch(1, 1);
    addGroupTitle(*grid, 0, firstGroupTitle);
    return grid;
}

void OptionsPage::finishGrid(QGridLayout& grid, QPushButton* resetButton) {
    const int row = grid.rowCount();
    grid.setRowStretch(row, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(resetButton);
    grid.addLayout(buttons, row + 1, 0, 1, groupColumns);
}

void OptionsPage::addGroupTitle(QGridLayout& grid, int row, const QString& title) {
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(new QLabel(title, this));
    titleRow->addWidget(line, 1);
    grid.addLayout(titleRow, row, 0, 1, groupColumns);
}

std::optional<std::vector<int>>
OptionsPage::checkBoxes(const std::vector<std::pair<QLineEdit*, const NumberOption*>>& boxes) {
    std::vector<NumberBoxText> texts;
    for (const auto& [box, option] : boxes) {
        texts.push_back({option, box->text().toStdString()});
    }
    NumberBoxCheck check = checkNumberBoxes(texts);
    if (!check.problem) {
        return std::move(check.values);
    }
    sheet.setActivePage(this);
    PromptService::current().message(this, QString::fromStdString(check.problem->message),
                                     PromptButtons::ok, PromptIcon::warning);
    boxes[check.problem->box].first->setFocus(Qt::OtherFocusReason);
    return std::nullopt;
}

} // namespace veltro
