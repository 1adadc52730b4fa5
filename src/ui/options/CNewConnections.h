#pragma once

#include "options/OptionsPage.h"

class QLineEdit;
class QPushButton;

namespace veltro {

class SettingsStore;

// The "New Connections" page: the login timeout that sessions opened from now on use.
class CNewConnections : public OptionsPage {
    Q_OBJECT
public:
    CNewConnections(COptionsSheet& sheet, SettingsStore& settings);

    bool SaveSettings() override;
    void ResetDefaults() override;

    QLineEdit* loginTimeoutBox() const { return loginTimeoutEdit; }
    QPushButton* resetButton() const { return reset; }

private:
    SettingsStore& store;
    QLineEdit* loginTimeoutEdit;
    QPushButton* reset;
};

} // namespace veltro
