#include "results/ResultPaneText.h"

#include "results/GridStore.h"

#include <QString>

#include <algorithm>

namespace veltro {

std::string gridBlockText(const GridStore& grid) {
    const int firstRow = std::min(grid.Row(), grid.RowSel());
    const int lastRow = std::max(grid.Row(), grid.RowSel());
    const int firstCol = std::min(grid.Col(), grid.ColSel());
    const int lastCol = std::max(grid.Col(), grid.ColSel());
    std::string text;
    for (int row = firstRow; row <= lastRow; ++row) {
        if (row > firstRow) {
            text += '\n';
        }
        for (int col = firstCol; col <= lastCol; ++col) {
            if (col > firstCol) {
                text += '\t';
            }
            grid.AppendTextMatrix(row, col, text);
        }
    }
    return text;
}

TextSaveChoice textSaveChoice(const std::string& paneTitle, const std::string& paneText) {
    TextSaveChoice choice;
    const QString title = QString::fromStdString(paneTitle);
    choice.objectSource =
        !title.isEmpty() && QString::fromStdString(paneText).contains(title, Qt::CaseInsensitive);
    if (choice.objectSource) {
        choice.suggestedName = paneTitle;
        choice.defaultExtension = "qry";
        choice.filter = "Query Files (*.qry);;All Files (*.*)";
    } else {
        choice.suggestedName = untitledName;
        choice.defaultExtension = "txt";
        choice.filter = "Text Files (*.txt);;All Files(*.*)";
    }
    return choice;
}

} // namespace veltro
