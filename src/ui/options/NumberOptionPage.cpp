#include "options/NumberOptionPage.h"

#include "app/WaitCursor.h"
#include "settings/SettingsStore.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace veltro {

NumberOptionPage::NumberOptionPage(COptionsSheet& sheet, SettingsStore& settings,
                                   const NumberOption& option, const QString& caption,
                                   const QString& groupTitle, const QString& label)
    : OptionsPage(sheet), store(settings), option(option), valueEdit(numberBox(option)),
      reset(new QPushButton("&Reset", this)) {
    setObjectName(caption);
    valueEdit->setText(QString::number(loadNumberOption(settings, option)));

    QGridLayout* grid = startGrid(groupTitle);
    auto* boxLabel = new QLabel(label, this);
    boxLabel->setBuddy(valueEdit);
    grid->addWidget(boxLabel, 1, 1);
    grid->addWidget(valueEdit, 1, 2);
    finishGrid(*grid, reset);

    connect(reset, &QPushButton::clicked, this, &NumberOptionPage::ResetDefaults);
}

bool NumberOptionPage::SaveSettings() {
    const WaitCursor wait;
    const auto values = checkBoxes({{valueEdit, &option}});
    if (!values) {
        return false;
    }
    store.writeInt(optionsSection, option.entry, values->front());
    return true;
}

void NumberOptionPage::ResetDefaults() {
    valueEdit->setText(QString::number(option.defaultValue));
}

} // namespace veltro
