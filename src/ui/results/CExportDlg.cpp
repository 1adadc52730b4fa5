#include "results/CExportDlg.h"

#include "app/PromptService.h"
#include "results/GridExport.h"
#include "settings/SettingsStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>

namespace veltro {

namespace {

constexpr const char* formatEntry = "Format";
constexpr const char* columnNamesEntry = "ColumnNames";

CExportDlg::Runner& runnerInUse() {
    static CExportDlg::Runner runner;
    return runner;
}

} // namespace

CExportDlg::CExportDlg(SettingsStore& settings, bool selectionOnly, QWidget* parent)
    : QFileDialog(parent), settings(settings), forSelection(selectionOnly),
      formats(new QComboBox(this)),
      columnNamesCheck(new QCheckBox(QStringLiteral("First row contains field names"), this)),
      chosenDelimiter(delimiterOfFormat(commaFormat, {})) {
    setWindowTitle(QString::fromUtf8(selectionOnly ? saveSelectionTitle : saveGridResultsTitle));
    // Our own widgets go into the dialog's layout, which the platform's dialog has not.
    setOption(QFileDialog::DontUseNativeDialog);
    // The overwrite question is asked in done(), through the prompt service.
    setOption(QFileDialog::DontConfirmOverwrite);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setDefaultSuffix(QStringLiteral("csv"));
    setNameFilters({QStringLiteral("Export Files (*.csv)"), QStringLiteral("All Files(*.*)")});
    selectFile(QStringLiteral("Untitled"));

    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(QStringLiteral("Delimiter:"), this), row, 0);
        grid->addWidget(formats, row, 1);
        grid->addWidget(columnNamesCheck, row + 1, 1);
    }
    loadChoices();
}

void CExportDlg::loadChoices() {
    for (const char* entry : {commaFormat, tabFormat, pipeFormat, noneFormat}) {
        formats->addItem(QString::fromUtf8(entry));
    }
    QString stored =
        QString::fromStdString(settings.readText(exportOptionsSection, formatEntry, {})).trimmed();
    if (stored.isEmpty()) {
        stored = QString::fromUtf8(commaFormat);
    }
    // A stored text that no entry begins with would leave the list without a choice and the
    // text itself as the delimiter; the first entry is the safe choice.
    int chosen = 0;
    for (int i = 0; i < formats->count(); ++i) {
        if (formats->itemText(i).startsWith(stored, Qt::CaseInsensitive)) {
            chosen = i;
            break;
        }
    }
    formats->setCurrentIndex(chosen);
    columnNamesCheck->setChecked(settings.readInt(exportOptionsSection, columnNamesEntry, 1) != 0);
    columnNamesCheck->setEnabled(!forSelection);
}

void CExportDlg::confirm(const QString& file) {
    path = file;
    const std::string format = formats->currentText().toStdString();
    chosenDelimiter = delimiterOfFormat(format, chosenDelimiter);
    settings.writeText(exportOptionsSection, formatEntry, format);
    withColumnNames = columnNamesCheck->isChecked();
    settings.writeInt(exportOptionsSection, columnNamesEntry, withColumnNames ? 1 : 0);
}

void CExportDlg::done(int result) {
    if (result == QDialog::Accepted) {
        const QString file = selectedFiles().value(0);
        if (file.isEmpty()) {
            return;
        }
        if (QFileInfo::exists(file) &&
            PromptService::current().message(
                this, QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(file),
                PromptButtons::yesNo, PromptIcon::warning) != PromptAnswer::yes) {
            return;
        }
        confirm(file);
    }
    QFileDialog::done(result);
}

bool CExportDlg::run() {
    const Runner& runner = runnerInUse();
    if (runner) {
        return runner(*this);
    }
    return exec() == QDialog::Accepted && !path.isEmpty();
}

void CExportDlg::setRunner(Runner runner) {
    runnerInUse() = std::move(runner);
}

} // namespace veltro
