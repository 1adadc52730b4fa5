#include "history/CHistoryPage.h"

#include "app/WaitCursor.h"
#include "history/HistoryOptions.h"
#include "settings/SettingsStore.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace veltro {

CHistoryPage::CHistoryPage(COptionsSheet& sheet, SettingsStore& settings)
    : OptionsPage(sheet), store(settings), entriesEdit(numberBox(historyEntriesOption)),
      reset(new QPushButton("&Reset", this)) {
    setObjectName("History");
    entriesEdit->setText(QString::number(loadNumberOption(settings, historyEntriesOption)));

    QGridLayout* grid = startGrid("Query History");
    auto* label = new QLabel("&Entries kept:", this);
    label->setBuddy(entriesEdit);
    grid->addWidget(label, 1, 1);
    grid->addWidget(entriesEdit, 1, 2);
    finishGrid(*grid, reset);

    connect(reset, &QPushButton::clicked, this, &CHistoryPage::ResetDefaults);
}

bool CHistoryPage::SaveSettings() {
    const WaitCursor wait;
    const auto values = checkBoxes({{entriesEdit, &historyEntriesOption}});
    if (!values) {
        return false;
    }
    store.writeInt(optionsSection, historyEntriesOption.entry, values->front());
    return true;
}

void CHistoryPage::ResetDefaults() {
    entriesEdit->setText(QString::number(historyEntriesOption.defaultValue));
}

} // namespace veltro
