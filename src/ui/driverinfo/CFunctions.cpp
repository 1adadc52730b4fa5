#include "driverinfo/CFunctions.h"

#include "catalog/CListCtrlEx.h"
#include "driverinfo/FunctionsModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QTreeWidget>

namespace veltro {

namespace {

// The list control of the dialogs: whole rows selected, cells shortened with "...".
QTreeWidget* functionList(const QStringList& columns, QWidget* parent) {
    auto* list = new CListCtrlEx(parent);
    list->SetFullRowSel(true);
    list->setColumnCount(static_cast<int>(columns.size()));
    list->setHeaderLabels(columns);
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    return list;
}

void addRow(QTreeWidget* list, const FunctionRow& row) {
    auto* item = new QTreeWidgetItem(list);
    item->setText(0, QString::fromStdString(row.name));
    item->setIcon(0, CInfoPage::supportImage(row.supported));
    if (list->columnCount() > 1) {
        item->setText(1, QString::fromStdString(row.category));
    }
}

} // namespace

CFunctions::CFunctions(FunctionsModel& model, QWidget* parent)
    : CInfoPage(model, parent), functions(model) {}

void CFunctions::OnInitDialog() {
    apiFunctions = functionList({QString()}, this);
    apiFunctions->setHeaderHidden(true);
    // The names take the list's whole width.
    apiFunctions->header()->setStretchLastSection(true);
    sqlFunctions = functionList({"Function", "Category"}, this);
    sqlFunctions->setColumnWidth(0, 160);
    sqlFunctions->header()->setStretchLastSection(true);
    sqlFunctions->header()->setSectionsClickable(true);
    connect(sqlFunctions->header(), &QHeaderView::sectionClicked, this,
            &CFunctions::sortSqlFunctions);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(captioned("ODBC API Functions:", apiFunctions), 1);
    layout->addWidget(captioned("SQL Functions:", sqlFunctions), 2);
    RefreshInfo();
}

void CFunctions::RefreshInfo() {
    if (!windowExists()) {
        return;
    }
    functions.RefreshInfo();
    apiFunctions->clear();
    for (const FunctionRow& row : functions.apiFunctions) {
        addRow(apiFunctions, row);
    }
    fillSqlFunctions();
}

void CFunctions::fillSqlFunctions() {
    sqlFunctions->clear();
    for (const FunctionRow& row : functions.sqlFunctions) {
        addRow(sqlFunctions, row);
    }
}

void CFunctions::sortSqlFunctions(int column) {
    functions.SortSqlFunctions(column);
    fillSqlFunctions();
    sqlFunctions->header()->setSortIndicatorShown(true);
    sqlFunctions->header()->setSortIndicator(column, functions.ascending ? Qt::AscendingOrder
                                                                         : Qt::DescendingOrder);
}

} // namespace veltro
