#include "catalog/AddDelimitedRow.h"

#include "catalog/CListCtrlEx.h"
#include "catalog/ListRules.h"

#include <algorithm>

namespace veltro {

int AddDelimitedRow(CListCtrlEx& list, std::string& line, int image, int index) {
    const std::vector<std::string> cells = takeDelimitedCells(line);
    if (cells.empty()) {
        return -1;
    }
    auto* row = new QTreeWidgetItem();
    for (std::size_t column = 0; column < cells.size(); ++column) {
        row->setText(static_cast<int>(column), QString::fromStdString(cells[column]));
    }
    if (image != -1) {
        row->setIcon(0, list.smallImage(image));
    }
    list.insertTopLevelItem(std::clamp(index, 0, list.topLevelItemCount()), row);
    return list.indexOfTopLevelItem(row);
}

} // namespace veltro
