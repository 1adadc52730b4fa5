#include "options/CNewConnections.h"

#include "app/WaitCursor.h"
#include "settings/SettingsStore.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace veltro {

CNewConnections::CNewConnections(COptionsSheet& sheet, SettingsStore& settings)
    : OptionsPage(sheet), store(settings), loginTimeoutEdit(numberBox(loginTimeoutOption)),
      reset(new QPushButton("&Reset", this)) {
    setObjectName("New Connections");
    loginTimeoutEdit->setText(QString::number(loadNumberOption(settings, loginTimeoutOption)));

    QGridLayout* grid = startGrid("Data Source");
    grid->addWidget(new QLabel("Login Timeout (secs):", this), 1, 1);
    grid->addWidget(loginTimeoutEdit, 1, 2);
    finishGrid(*grid, reset);

    connect(reset, &QPushButton::clicked, this, &CNewConnections::ResetDefaults);
}

bool CNewConnections::SaveSettings() {
    const WaitCursor wait;
    const auto values = checkBoxes({{loginTimeoutEdit, &loginTimeoutOption}});
    if (!values) {
        return false;
    }
    store.writeInt(optionsSection, loginTimeoutOption.entry, values->front());
    return true;
}

void CNewConnections::ResetDefaults() {
    loginTimeoutEdit->setText(QString::number(loginTimeoutOption.defaultValue));
}

} // namespace veltro
