#pragma once

#include "options/ConfigureOptions.h"

#include <QWidget>

#include <optional>
#include <utility>
#include <vector>

class QGridLayout;
class QLineEdit;
class QPushButton;

namespace veltro {

class COptionsSheet;

// A page of the Configure sheet: it checks and stores its settings when the sheet's OK is
// pressed, puts the defaults into its boxes on its reset button, and remembers whether it
// was ever shown, since a page never shown is neither checked nor stored.
class OptionsPage : public QWidget {
    Q_OBJECT
public:
    explicit OptionsPage(COptionsSheet& sheet);

    // Checks the page's boxes and stores its settings; false after telling the user what
    // is wrong, with the page in front and the focus on the box.
    virtual bool SaveSettings() = 0;
    virtual void ResetDefaults() = 0;

    bool wasShown() const { return shown; }

protected:
    void showEvent(QShowEvent* event) override;

    // A digits-only box that holds at most the option's number of characters.
    QLineEdit* numberBox(const NumberOption& option);
    // The page's grid of three columns (an indent, the labels, the boxes), with the title
    // of its first group in row 0.
    QGridLayout* startGrid(const QString& firstGroupTitle);
    // A group's title followed by an etched line, across the grid's columns.
    void addGroupTitle(QGridLayout& grid, int row, const QString& title);
    // Below the grid's rows so far: free space, then the reset button on the right.
    void finishGrid(QGridLayout& grid, QPushButton* resetButton);
    // Checks the boxes in OK's order; their numbers, or none after the user was told.
    std::optional<std::vector<int>>
    checkBoxes(const std::vector<std::pair<QLineEdit*, const NumberOption*>>& boxes);

private:
    COptionsSheet& sheet;
    bool shown = false;
};

} // namespace veltro
