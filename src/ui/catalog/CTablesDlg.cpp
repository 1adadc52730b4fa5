#include "catalog/CTablesDlg.h"

#include "app/PromptService.h"
#include "app/WaitCursor.h"
#include "catalog/CListCtrlEx.h"
#include "catalog/CatalogListing.h"
#include "catalog/TableStatements.h"
#include "session/CChildFrame.h"
#include "settings/SettingsStore.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace veltro {

namespace {

constexpr const char* settingsSection = "Tables";
constexpr const char* systemTablesEntry = "System_Tables";
constexpr const char* viewsEntry = "Views";
constexpr const char* textOnlyEntry = "Text_Only";

// The dialog's size in pixels: 357 by 247 dialog units of the classic dialog font.
constexpr QSize dialogSize(536, 401);

} // namespace

CTablesDlg::CTablesDlg(CChildFrame& session, QWidget* parent)
    : ObjectListDialog(session, "Tables", {"Name", "Type", "Owner"}, dialogSize, parent) {
    systemTablesBox = new QCheckBox("&System Tables", this);
    systemTablesBox->setObjectName("systemTables");
    viewsBox = new QCheckBox("&Views", this);
    viewsBox->setObjectName("views");
    textOnlyBox = new QCheckBox("Output &Text only", this);
    textOnlyBox->setObjectName("textOnly");
    textOnlyBox->setEnabled(false);
    sideColumn->addWidget(systemTablesBox);
    sideColumn->addWidget(viewsBox);
    sideColumn->addWidget(textOnlyBox);
    sideColumn->addStretch(1);

    connect(systemTablesBox, &QCheckBox::clicked, this, [this] { FillList(); });
    connect(viewsBox, &QCheckBox::clicked, this, [this] {
        FillList();
        textOnlyBox->setEnabled(viewsBox->isChecked());
        if (textOnlyBox->isEnabled()) {
            applyTextOnlyRule();
            rows->setFocus();
        } else {
            allowMultipleSelection();
        }
    });
    connect(textOnlyBox, &QCheckBox::clicked, this, [this] {
        applyTextOnlyRule();
        rows->setFocus();
    });
}

bool CTablesDlg::textOnly() const {
    return textOnlyBox->isChecked();
}

bool CTablesDlg::initialize() {
    const SettingsStore& settings = frame.settings();
    systemTablesBox->setChecked(settings.readInt(settingsSection, systemTablesEntry, 0) != 0);
    viewsBox->setChecked(settings.readInt(settingsSection, viewsEntry, 0) != 0);
    textOnlyBox->setChecked(settings.readInt(settingsSection, textOnlyEntry, 0) != 0);
    textOnlyBox->setEnabled(viewsBox->isChecked());
    if (!FillList()) {
        return false;
    }
    applyTextOnlyRule();
    rows->SetFullRowSel(true);
    allowMultipleSelection();
    // Typing right after the command goes to the name box, as in the Procedures dialog.
    nameBox->setFocus();
    return true;
}

bool CTablesDlg::FillList() {
    rows->setUpdatesEnabled(false);
    rows->clear();
    const bool opened =
        showListing(listTables(target, viewsBox->isChecked(), systemTablesBox->isChecked()));
    rows->setUpdatesEnabled(true);
    return opened;
}

// Output Text only names one view: the list then takes a single row.
void CTablesDlg::applyTextOnlyRule() {
    if (textOnlyBox->isChecked()) {
        rows->setSelectionMode(QAbstractItemView::SingleSelection);
    } else {
        allowMultipleSelection();
    }
}

// Several SELECTs make one batch only where the driver returns several result sets.
void CTablesDlg::allowMultipleSelection() {
    if (target.supportsMultipleResults) {
        rows->setSelectionMode(QAbstractItemView::ExtendedSelection);
    }
}

void CTablesDlg::onOk() {
    const WaitCursor wait;
    frame.setPaneText(0, "Please wait...");
    QList<QTreeWidgetItem*> selected = rows->selectedItems();
    std::sort(selected.begin(), selected.end(), [this](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        return rows->indexOfTopLevelItem(a) < rows->indexOfTopLevelItem(b);
    });
    if (selected.isEmpty() && rows->currentItem() != nullptr) {
        selected.append(rows->currentItem());
    }
    std::vector<ChosenTable> chosen;
    for (const QTreeWidgetItem* row : selected) {
        chosen.push_back(
            {row->text(0).toStdString(), row->text(1).toStdString(), row->text(2).toStdString()});
    }
    const TablesText text = composeTablesText(
        target, chosen, textOnly(), [this](const std::string& table) -> std::optional<std::string> {
            const ColumnList columns = BuildColumnList(target, table);
            if (!columns.errorText.empty()) {
                PromptService::current().message(this, QString::fromStdString(columns.errorText),
                                                 PromptButtons::ok, PromptIcon::warning);
            }
            return columns.ok ? std::optional<std::string>(columns.columns) : std::nullopt;
        });
    if (!text.complete) {
        frame.setPaneText(0, "");
        return;
    }
    outputText = text.resultText;
    outputType = text.objectType;
    outputName = text.objectName;
    SettingsStore& settings = frame.settings();
    settings.writeInt(settingsSection, viewsEntry, viewsBox->isChecked() ? 1 : 0);
    settings.writeInt(settingsSection, systemTablesEntry, systemTablesBox->isChecked() ? 1 : 0);
    settings.writeInt(settingsSection, textOnlyEntry, textOnly() ? 1 : 0);
    accept();
    frame.setPaneText(0, "");
}

} // namespace veltro
