#pragma once

#include "options/OptionsPage.h"

class QLineEdit;
class QPushButton;

namespace veltro {

class SettingsStore;

// The "History" page of the Configure sheet: how many entries the query history keeps.
class CHistoryPage : public OptionsPage {
    Q_OBJECT
public:
    CHistoryPage(COptionsSheet& sheet, SettingsStore& settings);

    bool SaveSettings() override;
    void ResetDefaults() override;

    QLineEdit* entriesBox() const { return entriesEdit; }

private:
    SettingsStore& store;
    QLineEdit* entriesEdit;
    QPushButton* reset;
};

} // namespace veltro
