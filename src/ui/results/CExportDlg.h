#pragma once

#include <QFileDialog>

#include <functional>
#include <string>

class QCheckBox;
class QComboBox;

namespace veltro {

class SettingsStore;

inline constexpr const char* exportOptionsSection = "Grid\\Export Options";
inline constexpr const char* saveGridResultsTitle = "Save Grid Results";
inline constexpr const char* saveSelectionTitle = "Save Selection";

// The save dialog of the grid export: a file dialog with a delimiter list and a check box for
// the header row, whose choices are kept in "Grid\\Export Options". Built ready to show: the
// list and check box already hold the stored choices.
class CExportDlg : public QFileDialog {
    Q_OBJECT
public:
    CExportDlg(SettingsStore& settings, bool selectionOnly, QWidget* parent = nullptr);

    QComboBox* formatList() const { return formats; }
    QCheckBox* columnNamesBox() const { return columnNamesCheck; }
    bool selectionOnly() const { return forSelection; }

    // After confirmation: the delimiter of the chosen entry, the check box, the file.
    const std::string& delimiter() const { return chosenDelimiter; }
    bool columnNames() const { return withColumnNames; }
    const QString& chosenPath() const { return path; }

    // The user confirmed this file: takes the delimiter and stores the choices.
    void confirm(const QString& file);

    // Shows the dialog; true when a file was confirmed.
    bool run();
    // How run() shows the dialog: tests answer it without a window. Empty: exec().
    using Runner = std::function<bool(CExportDlg&)>;
    static void setRunner(Runner runner);

    // On acceptance: asks before replacing a file, then takes the choices.
    void done(int result) override;

private:
    void loadChoices();

    SettingsStore& settings;
    bool forSelection;
    QComboBox* formats;
    QCheckBox* columnNamesCheck;
    std::string chosenDelimiter;
    bool withColumnNames = true;
    QString path;
};

} // namespace veltro
