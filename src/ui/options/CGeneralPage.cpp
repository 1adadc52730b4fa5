#include "options/CGeneralPage.h"

#include "app/PromptService.h"
#include "app/WaitCursor.h"
#include "session/ThreadPriority.h"
#include "settings/SettingsStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace veltro {

CGeneralPage::CGeneralPage(COptionsSheet& sheet, SettingsStore& settings)
    : OptionsPage(sheet), store(settings), queryTimeoutEdit(numberBox(queryTimeoutOption)),
      rowsetSizeEdit(numberBox(rowsetSizeOption)), priorityBox(new QComboBox(this)),
      autoCompleteCheck(
          new QCheckBox("Complete &names as you type (Ctrl+Space always does)", this)),
      reset(new QPushButton("&Reset All", this)) {
    setObjectName("General");
    queryTimeoutValue = loadNumberOption(settings, queryTimeoutOption);
    rowsetSizeValue = loadNumberOption(settings, rowsetSizeOption);
    priorityText = QString::fromStdString(loadThreadPriority(settings));
    autoComplete = loadAutoComplete(settings);
    for (const ThreadPriorityName& priority : threadPriorityNames) {
        priorityBox->addItem(
            QString::fromUtf8(priority.name.data(), static_cast<qsizetype>(priority.name.size())),
            priority.level);
    }
    rowsetSizeEdit->setEnabled(false);

    QGridLayout* grid = startGrid("Data Source");
    grid->addWidget(new QLabel("Query Timeout (secs):", this), 1, 1);
    grid->addWidget(queryTimeoutEdit, 1, 2);
    grid->addWidget(new QLabel("Rowset Size:", this), 2, 1);
    grid->addWidget(rowsetSizeEdit, 2, 2);
    grid->setRowMinimumHeight(3, 8);
    addGroupTitle(*grid, 4, "Other");
    grid->addWidget(new QLabel("Query execution thread priority:", this), 5, 1, 1, 2);
    grid->addWidget(priorityBox, 6, 1, 1, 2);
    grid->addWidget(autoCompleteCheck, 7, 1, 1, 2);
    finishGrid(*grid, reset);

    connect(priorityBox, &QComboBox::activated, this, &CGeneralPage::priorityChosen);
    connect(reset, &QPushButton::clicked, this, &CGeneralPage::ResetDefaults);
    showValues();
}

void CGeneralPage::showValues() {
    queryTimeoutEdit->setText(QString::number(queryTimeoutValue));
    rowsetSizeEdit->setText(QString::number(rowsetSizeValue));
    const std::optional<std::size_t> position = threadPriorityPosition(priorityText.toStdString());
    priorityBox->setCurrentIndex(position ? static_cast<int>(*position) : -1);
    autoCompleteCheck->setChecked(autoComplete);
}

void CGeneralPage::priorityChosen(int index) {
    const QString name = priorityBox->itemText(index);
    if (!priorityNeedsConfirmation(name.toStdString())) {
        return;
    }
    if (PromptService::current().message(this, priorityWarningText, PromptButtons::yesNo,
                                         PromptIcon::question) == PromptAnswer::no) {
        priorityBox->setCurrentIndex(static_cast<int>(*threadPriorityPosition(lowestPriorityName)));
    }
}

bool CGeneralPage::SaveSettings() {
    const WaitCursor wait;
    const auto values =
        checkBoxes({{queryTimeoutEdit, &queryTimeoutOption}, {rowsetSizeEdit, &rowsetSizeOption}});
    if (!values) {
        return false;
    }
    queryTimeoutValue = (*values)[0];
    rowsetSizeValue = (*values)[1];
    priorityText = priorityBox->currentText();
    store.writeInt(optionsSection, queryTimeoutOption.entry, queryTimeoutValue);
    store.writeInt(optionsSection, rowsetSizeOption.entry, rowsetSizeValue);
    store.writeText(optionsSection, threadPriorityEntry, priorityText.toStdString());
    autoComplete = autoCompleteCheck->isChecked();
    store.writeInt(optionsSection, autoCompleteEntry, autoComplete ? 1 : 0);
    return true;
}

void CGeneralPage::ResetDefaults() {
    queryTimeoutValue = queryTimeoutOption.defaultValue;
    rowsetSizeValue = rowsetSizeOption.defaultValue;
    priorityText = QString::fromUtf8(lowestPriorityName.data(),
                                     static_cast<qsizetype>(lowestPriorityName.size()));
    autoComplete = true;
    showValues();
}

} // namespace veltro
