#include "results/GridExport.h"

#include "results/BlockWriter.h"
#include "results/DelimitedFormat.h"
#include "results/GridStore.h"

#include <algorithm>
#include <cstdio>

namespace veltro {

namespace {

void appendRow(std::string& out, const GridStore& grid, int row, int firstCol, int lastCol,
               const DelimitedFormat& format) {
    const std::size_t start = out.size();
    bool first = true;
    grid.VisitRow(row, firstCol, lastCol, [&](std::string_view cell) {
        if (!first) {
            format.appendDelimiter(out);
        }
        first = false;
        format.appendCell(out, cell);
    });
    if (firstCol == lastCol && out.size() == start) {
        format.appendEmptyLoneCell(out);
    }
}

} // namespace

std::string delimiterOfFormat(const std::string& formatText, const std::string& previous) {
    std::string delimiter = previous;
    if (formatText.find("Comma") != std::string::npos) {
        delimiter = ",";
    }
    if (formatText.find("Tab") != std::string::npos) {
        delimiter = "\t";
    }
    if (formatText.find("Pipe") != std::string::npos) {
        delimiter = "|";
    }
    if (formatText.find("<None>") != std::string::npos) {
        delimiter.clear();
    }
    return delimiter;
}

bool WriteGridFile(std::FILE* out, const std::vector<std::shared_ptr<GridStore>>& grids,
                   const std::string& delimiter, bool columnNames) {
    BlockWriter writer(out);
    const DelimitedFormat format(delimiter);
    for (const auto& grid : grids) {
        const int rows = grid->Rows();
        const int cols = grid->Cols();
        for (int row = columnNames ? 0 : 1; row < rows; ++row) {
            appendRow(writer.text(), *grid, row, 0, cols - 1, format);
            writer.text() += "\r\n";
            if (!writer.flushIfFull()) {
                return false;
            }
        }
        writer.text() += "\r\n";
    }
    return writer.flush();
}

bool WriteGridSelection(std::FILE* out, const GridStore& grid, const std::string& delimiter) {
    const int firstRow = std::min(grid.Row(), grid.RowSel());
    const int lastRow = std::max(grid.Row(), grid.RowSel());
    const int firstCol = std::min(grid.Col(), grid.ColSel());
    const int lastCol = std::max(grid.Col(), grid.ColSel());
    BlockWriter writer(out);
    const DelimitedFormat format(delimiter);
    for (int row = firstRow; row <= lastRow; ++row) {
        if (row > firstRow) {
            writer.text() += "\r\n";
        }
        appendRow(writer.text(), grid, row, firstCol, lastCol, format);
        if (!writer.flushIfFull()) {
            return false;
        }
    }
    return writer.flush();
}

} // namespace veltro
