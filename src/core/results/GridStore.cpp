#include "results/GridStore.h"

#include "results/GridMemoryBudget.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace veltro {

namespace {

constexpr int rowsPerBlock = 1024;
constexpr std::size_t chunkSize = std::size_t{1} << 20;
// Longer texts get an allocation of their own instead of a place in a chunk.
constexpr std::size_t largeTextThreshold = 64 * 1024;

// A reference: 0 is the empty text; otherwise bits 40..63 hold the chunk number + 1 (or the
// large-text marker), bits 20..39 the offset in the chunk and bits 0..19 the length; a
// large text keeps its index in bits 0..39.
constexpr std::uint64_t largeMarker = 0xFFFFFF;
constexpr std::uint64_t low20 = (std::uint64_t{1} << 20) - 1;
constexpr std::uint64_t low40 = (std::uint64_t{1} << 40) - 1;

constexpr int defaultAlignment = 9; // general: text left, numbers right

std::size_t blocksFor(int rows) {
    return static_cast<std::size_t>((rows + rowsPerBlock - 1) / rowsPerBlock);
}

std::uint64_t blockBytes(int cols) {
    return static_cast<std::uint64_t>(rowsPerBlock) * static_cast<std::uint64_t>(cols) * 8;
}

} // namespace

GridStore::GridStore() = default;

GridStore::~GridStore() {
    GridMemoryBudget::release(reservedBytes);
}

bool GridStore::take(std::uint64_t bytes) {
    if (!GridMemoryBudget::reserve(bytes)) {
        return false;
    }
    reservedBytes += bytes;
    return true;
}

void GridStore::giveBack(std::uint64_t bytes) {
    GridMemoryBudget::release(bytes);
    reservedBytes -= bytes;
}

int GridStore::Rows() const {
    std::lock_guard guard(lock);
    return rows;
}

int GridStore::Cols() const {
    std::lock_guard guard(lock);
    return cols;
}

bool GridStore::SetRows(int newRows) {
    if (newRows < 0) {
        return false;
    }
    std::lock_guard guard(lock);
    if (newRows > rows && highestWrittenRow > 0) {
        // Expect the new rows to hold as much text as the rows written so far.
        const std::uint64_t perRow = textBytes / static_cast<std::uint64_t>(highestWrittenRow);
        const std::uint64_t newBlocks =
            blocksFor(newRows) - std::min(blocksFor(newRows), blocks.size());
        // One more chunk of room, since texts take memory a chunk at a time.
        if (!GridMemoryBudget::fits(perRow * static_cast<std::uint64_t>(newRows - rows) +
                                    newBlocks * blockBytes(cols) + chunkSize)) {
            return false;
        }
    }
    return resizeBlocks(newRows, cols);
}

bool GridStore::SetCols(int newCols) {
    if (newCols < 0) {
        return false;
    }
    std::lock_guard guard(lock);
    if (!resizeBlocks(rows, newCols)) {
        return false;
    }
    colWidths.resize(static_cast<std::size_t>(newCols), -1);
    colAlignments.resize(static_cast<std::size_t>(newCols), defaultAlignment);
    return true;
}

bool GridStore::resizeBlocks(int newRows, int newCols) {
    const std::size_t wanted = newCols > 0 ? blocksFor(newRows) : 0;
    try {
        if (newCols != cols) {
            std::vector<std::unique_ptr<CellRef[]>> rebuilt;
            if (!take(wanted * blockBytes(newCols))) {
                return false;
            }
            const std::size_t perBlock = static_cast<std::size_t>(rowsPerBlock) * newCols;
            for (std::size_t b = 0; b < wanted; ++b) {
                rebuilt.push_back(std::make_unique<CellRef[]>(perBlock));
            }
            const int keptRows = std::min(rows, newRows);
            const int keptCols = std::min(cols, newCols);
            for (int r = 0; r < keptRows; ++r) {
                for (int c = 0; c < keptCols; ++c) {
                    rebuilt[r / rowsPerBlock][static_cast<std::size_t>(r % rowsPerBlock) * newCols +
                                              c] = *refAt(r, c);
                }
            }
            giveBack(blocks.size() * blockBytes(cols));
            blocks = std::move(rebuilt);
            cols = newCols;
            rows = newRows;
            return true;
        }
        if (wanted > blocks.size()) {
            if (!take((wanted - blocks.size()) * blockBytes(cols))) {
                return false;
            }
            const std::size_t perBlock = static_cast<std::size_t>(rowsPerBlock) * cols;
            while (blocks.size() < wanted) {
                blocks.push_back(std::make_unique<CellRef[]>(perBlock));
            }
        } else if (wanted < blocks.size()) {
            giveBack((blocks.size() - wanted) * blockBytes(cols));
            blocks.resize(wanted);
        }
        // Rows dropped inside the last block must come back empty when raised again.
        for (int r = newRows; r < std::min(rows, static_cast<int>(wanted) * rowsPerBlock); ++r) {
            std::fill_n(refAt(r, 0), cols, CellRef{0});
        }
        rows = newRows;
        highestWrittenRow = std::min(highestWrittenRow, std::max(newRows - 1, 0));
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

GridStore::CellRef* GridStore::refAt(int r, int c) const {
    return &blocks[static_cast<std::size_t>(r / rowsPerBlock)]
                  [static_cast<std::size_t>(r % rowsPerBlock) * cols + c];
}

std::optional<GridStore::CellRef> GridStore::storeText(std::string_view text) {
    if (text.empty()) {
        return CellRef{0};
    }
    try {
        if (text.size() > largeTextThreshold) {
            if (!take(text.size())) {
                return std::nullopt;
            }
            largeTexts.emplace_back(text);
            textBytes += text.size();
            return (largeMarker << 40) | (largeTexts.size() - 1);
        }
        if (chunks.empty() || chunkUsed + text.size() > chunkSize) {
            if (!take(chunkSize)) {
                return std::nullopt;
            }
            chunks.push_back(std::make_unique_for_overwrite<char[]>(chunkSize));
            chunkUsed = 0;
        }
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    std::memcpy(chunks.back().get() + chunkUsed, text.data(), text.size());
    const CellRef ref = (static_cast<std::uint64_t>(chunks.size()) << 40) |
                        (static_cast<std::uint64_t>(chunkUsed) << 20) | text.size();
    chunkUsed += text.size();
    textBytes += text.size();
    return ref;
}

std::string_view GridStore::textOf(CellRef ref) const {
    if (ref == 0) {
        return {};
    }
    const std::uint64_t chunk = ref >> 40;
    if (chunk == largeMarker) {
        return largeTexts[ref & low40];
    }
    const char* start = chunks[chunk - 1].get() + ((ref >> 20) & low20);
    return {start, static_cast<std::size_t>(ref & low20)};
}

std::optional<std::string> GridStore::TextMatrix(int r, int c) const {
    std::string text;
    if (!AppendTextMatrix(r, c, text)) {
        return std::nullopt;
    }
    return text;
}

bool GridStore::AppendTextMatrix(int r, int c, std::string& out) const {
    std::lock_guard guard(lock);
    if (!inRange(r, c)) {
        return false;
    }
    out += textOf(*refAt(r, c));
    return true;
}

bool GridStore::SetTextMatrix(int r, int c, std::string_view text) {
    std::lock_guard guard(lock);
    if (!inRange(r, c)) {
        return false;
    }
    const std::optional<CellRef> ref = storeText(text);
    if (!ref) {
        return false;
    }
    *refAt(r, c) = *ref;
    highestWrittenRow = std::max(highestWrittenRow, r);
    return true;
}

int GridStore::ColWidth(int c) const {
    std::lock_guard guard(lock);
    return c >= 0 && c < cols ? colWidths[static_cast<std::size_t>(c)] : -1;
}

bool GridStore::SetColWidth(int c, int twips) {
    std::lock_guard guard(lock);
    if (c < 0 || c >= cols) {
        return false;
    }
    colWidths[static_cast<std::size_t>(c)] = twips;
    return true;
}

int GridStore::ColAlignment(int c) const {
    std::lock_guard guard(lock);
    return c >= 0 && c < cols ? colAlignments[static_cast<std::size_t>(c)] : defaultAlignment;
}

bool GridStore::SetColAlignment(int c, int alignment) {
    std::lock_guard guard(lock);
    if (c < 0 || c >= cols) {
        return false;
    }
    colAlignments[static_cast<std::size_t>(c)] = alignment;
    return true;
}

int GridStore::Row() const {
    std::lock_guard guard(lock);
    return row;
}
int GridStore::Col() const {
    std::lock_guard guard(lock);
    return col;
}
int GridStore::RowSel() const {
    std::lock_guard guard(lock);
    return rowSel;
}
int GridStore::ColSel() const {
    std::lock_guard guard(lock);
    return colSel;
}
void GridStore::SetRow(int value) {
    std::lock_guard guard(lock);
    row = value;
}
void GridStore::SetCol(int value) {
    std::lock_guard guard(lock);
    col = value;
}
void GridStore::SetRowSel(int value) {
    std::lock_guard guard(lock);
    rowSel = value;
}
void GridStore::SetColSel(int value) {
    std::lock_guard guard(lock);
    colSel = value;
}

bool GridStore::Redraw() const {
    std::lock_guard guard(lock);
    return redraw;
}

void GridStore::SetRedraw(bool on) {
    std::lock_guard guard(lock);
    redraw = on;
}

GridAppearance GridStore::appearance() const {
    std::lock_guard guard(lock);
    return look;
}

void GridStore::setAppearance(const GridAppearance& settings) {
    std::lock_guard guard(lock);
    look = settings;
}

GridFontProperties GridStore::font() const {
    std::lock_guard guard(lock);
    return fontProperties;
}

void GridStore::setFont(const GridFontProperties& properties) {
    std::lock_guard guard(lock);
    fontProperties = properties;
}

std::uint64_t GridStore::memoryBytes() const {
    std::lock_guard guard(lock);
    return reservedBytes;
}

} // namespace veltro
