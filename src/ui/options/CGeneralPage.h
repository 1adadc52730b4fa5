#pragma once

#include "options/OptionsPage.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace veltro {

class SettingsStore;

// The "General" page: the query timeout, the rowset size (shown, not editable) and the
// worker threads' priority.
class CGeneralPage : public OptionsPage {
    Q_OBJECT
public:
    CGeneralPage(COptionsSheet& sheet, SettingsStore& settings);

    bool SaveSettings() override;
    void ResetDefaults() override;

    // The values as last stored.
    int queryTimeout() const { return queryTimeoutValue; }
    QString threadPriorityText() const { return priorityText; }

    QLineEdit* queryTimeoutBox() const { return queryTimeoutEdit; }
    QLineEdit* rowsetSizeBox() const { return rowsetSizeEdit; }
    QComboBox* priorityList() const { return priorityBox; }
    QPushButton* resetButton() const { return reset; }
    QCheckBox* autoCompleteBox() const { return autoCompleteCheck; }

private:
    void priorityChosen(int index);
    void showValues();

    SettingsStore& store;
    int queryTimeoutValue = 0;
    int rowsetSizeValue = 0;
    QString priorityText;
    QLineEdit* queryTimeoutEdit;
    QLineEdit* rowsetSizeEdit;
    QComboBox* priorityBox;
    QCheckBox* autoCompleteCheck;
    bool autoComplete = true;
    QPushButton* reset;
};

} // namespace veltro
