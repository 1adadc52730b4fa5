#pragma once

#include "results/ResultSink.h"
#include "results/TextChunk.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltro {

// The grid's font as its properties hold it.
struct GridFontProperties {
    std::string name;
    std::int64_t size = 0; // points x 10000
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int weight = 400;
    int charset = 0;
};

// The appearance settings, set once when a grid is created.
struct GridAppearance {
    std::uint32_t backColorBkg = 0x808080;
    int borderStyle = 1;
    int allowUserResizing = 0;
    int focusRect = 1;
    int highLight = 1;
    int scrollBars = 3;
};

// What a result grid holds: rows (row 0 is the header), columns, cell texts, column widths
// and alignments, the selection corners and the redraw switch. The worker thread writes
// cells while the window thread reads them and changes the row count, so every call takes
// the grid's lock; it is held for the copy of one text, never while memory is allocated
// for the writer. One thread at a time writes cells.
//
// Cell texts are UTF-8 bytes kept in an arena of chunks that grow as the grid fills; each
// cell costs one 8-byte reference besides its text. The whole program's grids stay inside
// GridMemoryBudget, which a grid uses only as it fills.
class GridStore : public ResultSink {
public:
    GridStore();
    ~GridStore() override;
    GridStore(const GridStore&) = delete;
    GridStore& operator=(const GridStore&) = delete;

    int Rows() const override;
    // Raising keeps every text, lowering drops the rows beyond. False (nothing changed) when
    // the grid would outgrow the memory budget.
    bool SetRows(int rows) override;
    int Cols() const override;
    bool SetCols(int cols) override;

    // Empty text for a cell never set; nothing outside Rows x Cols.
    std::optional<std::string> TextMatrix(int row, int col) const;
    // Appends the cell's text; false outside Rows x Cols.
    bool AppendTextMatrix(int row, int col, std::string& out) const;
    // Hands the texts of one row's cells firstCol..lastCol to the visitor under one lock;
    // the views are valid only during the call. False outside Rows x Cols.
    template <typename Visitor>
    bool VisitRow(int row, int firstCol, int lastCol, Visitor&& visit) const {
        std::lock_guard guard(lock);
        if (!inRange(row, firstCol) || !inRange(row, lastCol)) {
            return false;
        }
        for (int c = firstCol; c <= lastCol; ++c) {
            visit(textOf(*refAt(row, c)));
        }
        return true;
    }
    // False outside Rows x Cols or when the text does not fit the memory budget.
    bool SetTextMatrix(int row, int col, std::string_view text) override;
    // Under one lock when the row's texts fit the current chunk, else cell by cell.
    bool SetRow(int row, const RowCells& cells) override;

    int ColWidth(int col) const; // twips; -1 for the default width
    bool SetColWidth(int col, int twips) override;
    int ColAlignment(int col) const;
    bool SetColAlignment(int col, int alignment) override;

    int Row() const;
    int Col() const;
    int RowSel() const;
    int ColSel() const;
    void SetRow(int row);
    void SetCol(int col);
    void SetRowSel(int row);
    void SetColSel(int col);

    bool Redraw() const;
    void SetRedraw(bool on) override;

    GridAppearance appearance() const;
    void setAppearance(const GridAppearance& settings) override;
    GridFontProperties font() const;
    void setFont(const GridFontProperties& properties) override;

    // Memory this grid holds (references and texts), for the budget and for measuring.
    std::uint64_t memoryBytes() const;

private:
    using CellRef = std::uint64_t;

    bool inRange(int row, int col) const {
        return row >= 0 && row < rows && col >= 0 && col < cols;
    }
    CellRef* refAt(int row, int col) const;
    bool resizeBlocks(int newRows, int newCols);
    // With the lock held: a reference to the text in the current chunk, or nothing when it
    // needs a new chunk or a place of its own.
    std::optional<CellRef> placeInChunk(std::string_view text);
    std::string_view textOf(CellRef ref) const;
    bool take(std::uint64_t bytes);
    void giveBack(std::uint64_t bytes);

    mutable std::mutex lock;
    int rows = 0;
    int cols = 0;
    std::vector<std::unique_ptr<CellRef[]>> blocks;
    std::vector<TextChunk> chunks;
    std::size_t chunkUsed = 0;
    std::size_t chunkCapacity = 0;
    std::vector<std::string> largeTexts;
    std::uint64_t textBytes = 0;
    int highestWrittenRow = 0;
    std::atomic<std::uint64_t> reservedBytes = 0;

    std::vector<int> colWidths;
    std::vector<int> colAlignments;
    int row = 0;
    int col = 0;
    int rowSel = 0;
    int colSel = 0;
    bool redraw = true;
    GridAppearance look;
    GridFontProperties fontProperties;
};

} // namespace veltro
