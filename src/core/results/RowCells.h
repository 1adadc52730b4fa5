#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace veltro {

// One row's cell texts in column order, collected before the row goes to its sink, so that a
// grid read by another thread is locked once per row rather than once per cell. A NULL cell
// is told apart from an empty text. Cleared for each row, it keeps its memory.
class RowCells {
public:
    void clear() {
        bytes.clear();
        cells.clear();
    }
    void add(std::string_view text) {
        bytes.append(text);
        cells.push_back({bytes.size(), false});
    }
    void addNull() { cells.push_back({bytes.size(), true}); }

    std::size_t size() const { return cells.size(); }
    bool isNull(std::size_t k) const { return cells[k].null; }
    std::string_view text(std::size_t k) const {
        const std::size_t start = k == 0 ? 0 : cells[k - 1].end;
        return std::string_view(bytes).substr(start, cells[k].end - start);
    }
    // Every text's bytes, one after the other.
    std::string_view allTexts() const { return bytes; }

private:
    struct Cell {
        std::size_t end;
        bool null;
    };
    std::string bytes;
    std::vector<Cell> cells;
};

} // namespace veltro
