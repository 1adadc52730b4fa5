#include "catalog/ObjectListDialog.h"

#include "app/PromptService.h"
#include "app/WaitCursor.h"
#include "catalog/AddDelimitedRow.h"
#include "catalog/CListCtrlEx.h"
#include "catalog/CListSorter.h"
#include "catalog/CatalogListing.h"
#include "session/CChildFrame.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace veltro {

namespace {

constexpr const char* pleaseWaitText = "Please wait...";

} // namespace

ObjectListDialog::ObjectListDialog(CChildFrame& session, const QString& caption,
                                   const QStringList& columns, QSize size, QWidget* parent)
    : QDialog(parent), frame(session), target(catalogTargetOf(session.session())),
      columnCount(static_cast<int>(columns.size())) {
    setWindowTitle(caption);
    auto* grid = new QGridLayout(this);
    auto* prompt = new QLabel("Type name or select from the list:", this);
    nameBox = new QLineEdit(this);
    nameBox->setObjectName("nameBox");
    prompt->setBuddy(nameBox);
    rows = new CListCtrlEx(this);
    rows->setObjectName("objectList");
    rows->setHeaderLabels(columns);
    okButton = new QPushButton("OK", this);
    okButton->setDefault(true);
    cancelButton = new QPushButton("Cancel", this);
    sideColumn = new QVBoxLayout();
    sideColumn->addWidget(okButton);
    sideColumn->addWidget(cancelButton);
    sideColumn->addSpacing(12);
    grid->addWidget(prompt, 0, 0);
    grid->addWidget(nameBox, 1, 0);
    grid->addWidget(rows, 2, 0);
    grid->addLayout(sideColumn, 1, 1, 2, 1);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(0, 1);
    resize(size);

    connect(okButton, &QPushButton::clicked, this, [this] { onOk(); });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(nameBox, &QLineEdit::textChanged, this, &ObjectListDialog::onFindTextChanged);
    connect(rows->header(), &QHeaderView::sectionClicked, this, &ObjectListDialog::onHeaderClicked);
    connect(rows, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (okButton->isEnabled()) {
            onOk();
        }
    });
}

int ObjectListDialog::run() {
    if (!start()) {
        return QDialog::Rejected;
    }
    return exec();
}

bool ObjectListDialog::start() {
    const WaitCursor wait;
    frame.setPaneText(0, pleaseWaitText);
    fitColumns();
    return initialize();
}

// Each column takes an equal share of the list's width.
void ObjectListDialog::fitColumns() {
    const int width = rows->viewport()->width() / columnCount;
    for (int column = 0; column < columnCount; ++column) {
        rows->setColumnWidth(column, width);
    }
}

// The list has its width only once the dialog is laid out for showing.
void ObjectListDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!columnsFitted) {
        columnsFitted = true;
        fitColumns();
    }
}

bool ObjectListDialog::showListing(const CatalogListing& listing) {
    for (std::size_t i = 0; i < listing.lines.size(); ++i) {
        std::string line = listing.lines[i];
        AddDelimitedRow(*rows, line, -1, static_cast<int>(i));
    }
    if (rows->topLevelItemCount() > 0) {
        rows->setCurrentItem(rows->topLevelItem(0), 0,
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    if (!listing.errorText.empty()) {
        PromptService::current().message(this, QString::fromStdString(listing.errorText),
                                         PromptButtons::ok, PromptIcon::warning);
    }
    const bool filled = rows->topLevelItemCount() > 0;
    okButton->setEnabled(filled);
    cancelButton->setText(filled ? "Cancel" : "&Close");
    return listing.opened;
}

// A name shown in quotes or brackets is found by its first letters too: nobody types the
// quote.
bool ObjectListDialog::nameBegins(const QTreeWidgetItem& row, const QString& text) const {
    const QString shown = row.text(0);
    return shown.startsWith(text, Qt::CaseInsensitive) ||
           QString::fromStdString(target.quoting.bareName(shown.toStdString()))
               .startsWith(text, Qt::CaseInsensitive);
}

void ObjectListDialog::onFindTextChanged() {
    findText = nameBox->text();
    for (int i = 0; i < rows->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = rows->topLevelItem(i);
        if (nameBegins(*row, findText)) {
            rows->setCurrentItem(row, 0,
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            rowFound();
            rows->scrollToItem(row, QAbstractItemView::EnsureVisible);
            return;
        }
    }
}

void ObjectListDialog::onHeaderClicked(int column) {
    sortAscending = !sortAscending;
    CListSorter(*rows, column).sort(sortAscending);
}

} // namespace veltro
