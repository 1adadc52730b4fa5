#include "catalog/CListSorter.h"

#include "catalog/ListRules.h"

#include <QSignalBlocker>
#include <QTreeWidget>

namespace veltro {

void CListSorter::sort(bool ascending) {
    const int count = list.topLevelItemCount();
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
        texts.push_back(list.topLevelItem(row)->text(column).toStdString());
    }
    const std::vector<std::size_t> order = sortedOrder(texts, ascending);

    // The rows are taken out and put back in order; their selection and the focus are
    // restored without telling anyone, since the same rows stay selected.
    const QSignalBlocker blockList(list);
    const QSignalBlocker blockSelection(list.selectionModel());
    QTreeWidgetItem* focused = list.currentItem();
    const QList<QTreeWidgetItem*> selected = list.selectedItems();
    QList<QTreeWidgetItem*> rows;
    for (int row = count - 1; row >= 0; --row) {
        rows.prepend(list.takeTopLevelItem(row));
    }
    QList<QTreeWidgetItem*> sorted;
    for (const std::size_t position : order) {
        sorted.append(rows[static_cast<qsizetype>(position)]);
    }
    list.addTopLevelItems(sorted);
    if (focused != nullptr) {
        list.setCurrentItem(focused, 0, QItemSelectionModel::NoUpdate);
    }
    for (QTreeWidgetItem* row : selected) {
        row->setSelected(true);
    }
    list.viewport()->update();
}

} // namespace veltro
