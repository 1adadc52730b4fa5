#include "recovery/RecoveryDialog.h"

#include "app/PromptService.h"
#include "common/Utf8.h"
#include "recovery/RecoveryFolder.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace veltro {

namespace {

constexpr int indexRole = Qt::UserRole;
constexpr int maxColumnWidth = 260;

} // namespace

RecoveryDialog::RecoveryDialog(OrphanClaim& orphans, std::function<bool(std::size_t)> restore,
                               QWidget* parent)
    : QDialog(parent), claim(orphans), restoreDocument(std::move(restore)),
      documents(new QTreeWidget(this)), restoreChosen(new QPushButton("&Restore", this)),
      discardChosen(new QPushButton("&Discard", this)) {
    setWindowTitle("Recover Unsaved Queries");
    auto* intro = new QLabel("Veltro ended without closing these queries. Restore opens each "
                             "chosen query in a new query window, marked as changed; Discard "
                             "lets it go. Queries left here are offered again at the next start.",
                             this);
    intro->setWordWrap(true);
    documents->setColumnCount(5);
    documents->setHeaderLabels({"Title", "File", "Data Source", "Last Change", "First Line"});
    documents->setRootIsDecorated(false);
    documents->setSelectionMode(QAbstractItemView::ExtendedSelection);
    documents->setAllColumnsShowFocus(true);
    for (std::size_t i = 0; i < claim.documents().size(); ++i) {
        const RecoveryRecord& record = claim.documents()[i].record;
        auto* item = new QTreeWidgetItem(documents);
        item->setText(0, QString::fromUtf8(record.title));
        item->setText(1, QString::fromUtf8(record.fileName));
        item->setText(2, QString::fromUtf8(record.dataSource));
        item->setText(3, QDateTime::fromSecsSinceEpoch(record.changedAt)
                             .toLocalTime()
                             .toString("yyyy-MM-dd HH:mm:ss"));
        item->setText(4, QString::fromUtf8(utf8Prefix(firstTextLine(record), 200)));
        item->setData(0, indexRole, static_cast<qulonglong>(i));
    }
    documents->selectAll();
    // Each column as wide as its texts up to a limit; the whole text shows as a tip.
    int width = 0;
    for (int column = 0; column < documents->columnCount(); ++column) {
        documents->resizeColumnToContents(column);
        documents->setColumnWidth(column, std::min(documents->columnWidth(column), maxColumnWidth));
        width += documents->columnWidth(column);
        for (int row = 0; row < documents->topLevelItemCount(); ++row) {
            QTreeWidgetItem* item = documents->topLevelItem(row);
            item->setToolTip(column, item->text(column));
        }
    }

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(restoreChosen, QDialogButtonBox::ActionRole);
    buttons->addButton(discardChosen, QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setText("&Later");
    restoreChosen->setDefault(true);
    connect(restoreChosen, &QPushButton::clicked, this, [this] { handleChosen(true); });
    connect(discardChosen, &QPushButton::clicked, this, [this] { handleChosen(false); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(documents, &QTreeWidget::itemSelectionChanged, this, &RecoveryDialog::updateButtons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(documents, 1);
    layout->addWidget(buttons);
    resize(std::clamp(width + 60, 600, 1200), 320);
    updateButtons();
}

void RecoveryDialog::handleChosen(bool restoring) {
    if (!restoring && PromptService::current().message(
                          this, "Discard the chosen queries? Their text is lost.",
                          PromptButtons::yesNo, PromptIcon::warning) != PromptAnswer::yes) {
        return;
    }
    for (QTreeWidgetItem* item : documents->selectedItems()) {
        const auto index = item->data(0, indexRole).toULongLong();
        if (restoring) {
            if (!restoreDocument(index)) {
                continue; // kept: offered again next time
            }
            ++restored;
        } else {
            claim.discard(index);
        }
        delete item;
    }
    if (documents->topLevelItemCount() == 0) {
        accept();
    }
}

void RecoveryDialog::updateButtons() {
    const bool chosen = !documents->selectedItems().isEmpty();
    restoreChosen->setEnabled(chosen);
    discardChosen->setEnabled(chosen);
}

} // namespace veltro
