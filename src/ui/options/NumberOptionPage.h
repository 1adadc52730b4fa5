#pragma once

#include "options/OptionsPage.h"

class QLineEdit;
class QPushButton;

namespace veltro {

class SettingsStore;

// A page of the Configure sheet that edits one number: a group with the number's box under
// its label, and a reset button that puts the default back into the box.
class NumberOptionPage : public OptionsPage {
    Q_OBJECT
public:
    // The option outlives the page; label may name a mnemonic for the box.
    NumberOptionPage(COptionsSheet& sheet, SettingsStore& settings, const NumberOption& option,
                     const QString& caption, const QString& groupTitle, const QString& label);

    bool SaveSettings() override;
    void ResetDefaults() override;

    QLineEdit* valueBox() const { return valueEdit; }
    QPushButton* resetButton() const { return reset; }

private:
    SettingsStore& store;
    const NumberOption& option;
    QLineEdit* valueEdit;
    QPushButton* reset;
};

} // namespace veltro
