#include "results/GridExport.h"

#include "results/GridStore.h"

#include <algorithm>
#include <cstdio>

namespace veltro {

namespace {

// Written in blocks of about this size.
constexpr std::size_t flushThreshold = 1 << 20;

// The characters that make a cell need quotes: a one-character delimiter, a quote, CR, LF.
std::string specialCharacters(const std::string& delimiter) {
    return delimiter.size() == 1 ? delimiter + "\"\r\n" : std::string();
}

bool needsQuotes(std::string_view cell, const std::string& delimiter, const std::string& special) {
    if (delimiter.empty()) {
        return false;
    }
    if (!special.empty()) {
        return cell.find_first_of(special) != std::string_view::npos;
    }
    return cell.find(delimiter) != std::string_view::npos ||
           cell.find_first_of("\"\r\n") != std::string_view::npos;
}

// The cell's bytes as they are, quoted where the cell needs it.
void appendCell(std::string& out, std::string_view cell, const std::string& delimiter,
                const std::string& special) {
    if (!needsQuotes(cell, delimiter, special)) {
        out.append(cell);
        return;
    }
    out += '"';
    for (const char c : cell) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
}

class BlockWriter {
public:
    explicit BlockWriter(std::FILE* file) : file(file) { buffer.reserve(flushThreshold + 4096); }

    std::string& text() { return buffer; }

    bool flushIfFull() { return buffer.size() < flushThreshold || flush(); }

    bool flush() {
        if (!buffer.empty() &&
            std::fwrite(buffer.data(), 1, buffer.size(), file) != buffer.size()) {
            return false;
        }
        buffer.clear();
        return true;
    }

private:
    std::FILE* file;
    std::string buffer;
};

void appendRow(std::string& out, const GridStore& grid, int row, int firstCol, int lastCol,
               const std::string& delimiter, const std::string& special) {
    bool first = true;
    grid.VisitRow(row, firstCol, lastCol, [&](std::string_view cell) {
        if (!first) {
            out += delimiter;
        }
        first = false;
        appendCell(out, cell, delimiter, special);
    });
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
    const std::string special = specialCharacters(delimiter);
    for (const auto& grid : grids) {
        const int rows = grid->Rows();
        const int cols = grid->Cols();
        for (int row = columnNames ? 0 : 1; row < rows; ++row) {
            appendRow(writer.text(), *grid, row, 0, cols - 1, delimiter, special);
            writer.text() += "\r\n";
            if (!writer.flushIfFull()) {
                return false;
            }
        }
        writer.text() += "\r\n";
    }
    return writer.flush() && std::fflush(out) == 0;
}

bool WriteGridSelection(std::FILE* out, const GridStore& grid, const std::string& delimiter) {
    const int firstRow = std::min(grid.Row(), grid.RowSel());
    const int lastRow = std::max(grid.Row(), grid.RowSel());
    const int firstCol = std::min(grid.Col(), grid.ColSel());
    const int lastCol = std::max(grid.Col(), grid.ColSel());
    BlockWriter writer(out);
    const std::string special = specialCharacters(delimiter);
    for (int row = firstRow; row <= lastRow; ++row) {
        if (row > firstRow) {
            writer.text() += "\r\n";
        }
        appendRow(writer.text(), grid, row, firstCol, lastCol, delimiter, special);
        if (!writer.flushIfFull()) {
            return false;
        }
    }
    return writer.flush() && std::fflush(out) == 0;
}

} // namespace veltro
