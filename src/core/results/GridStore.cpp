#include "results/GridStore.h"

#include "results/GridMemoryBudget.h"
#include "results/TextChunk.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace veltro {

namespace {

constexpr int rowsPerBlock = 1024;
// Text chunks start small and double up to the largest, so that a grid of one short row
// costs little and a big one few allocations.
constexpr std::size_t firstChunkSize = 1024;
constexpr std::size_t largestChunkSize = TextChunk::hugePageSize;
// Longer texts get an allocation of their own instead of a place in a chunk.
constexpr std::size_t largeTextThreshold = 64 * 1024;

// A reference: 0 is the empty text; otherwise bits 40..63 hold the chunk number + 1 (or the
// large-text marker), bits 18..39 the offset in the chunk and bits 0..17 the length; a
// large text keeps its index in bits 0..39.
constexpr int offsetShift = 18;
constexpr std::uint64_t largeMarker = 0xFFFFFF;
constexpr std::uint64_t lengthMask = (std::uint64_t{1} << offsetShift) - 1;
constexpr std::uint64_t offsetMask = (std::uint64_t{1} << (40 - offsetShift)) - 1;
constexpr std::uint64_t low40 = (std::uint64_t{1} << 40) - 1;
static_assert(largeTextThreshold <= lengthMask && largestChunkSize - 1 <= offsetMask);

constexpr int defaultAlignment = 9; // general: text left, numbers right

std::size_t blocksFor(int rows) {
    return static_cast<std::size_t>((rows + rowsPerBlock - 1) / rowsPerBlock);
}

// Rows a block holds: the first only as many as the grid has (up to a full block), so that
// a small grid costs no full block; the others a full block.
std::size_t rowsOfBlock(std::size_t block, int gridRows) {
    return block == 0 ? static_cast<std::size_t>(std::clamp(gridRows, 0, rowsPerBlock))
                      : static_cast<std::size_t>(rowsPerBlock);
}

std::uint64_t layoutBytes(int gridRows, int gridCols) {
    if (gridCols <= 0) {
        return 0;
    }
    std::uint64_t cells = 0;
    for (std::size_t b = 0; b < blocksFor(gridRows); ++b) {
        cells += rowsOfBlock(b, gridRows) * static_cast<std::uint64_t>(gridCols);
    }
    return cells * 8;
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
        // Expect the new rows to hold as much text as the rows written so far, and keep room
        // for one more chunk, since texts take memory a chunk at a time.
        const std::uint64_t perRow = textBytes / static_cast<std::uint64_t>(highestWrittenRow);
        const std::uint64_t grownLayout = layoutBytes(newRows, cols) - layoutBytes(rows, cols);
        const std::uint64_t nextChunk = std::min(chunkCapacity * 2, largestChunkSize);
        if (!GridMemoryBudget::fits(perRow * static_cast<std::uint64_t>(newRows - rows) +
                                    grownLayout + nextChunk)) {
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
    const std::uint64_t before = layoutBytes(rows, cols);
    const std::uint64_t after = layoutBytes(newRows, newCols);
    if (after > before && !take(after - before)) {
        return false;
    }
    const std::size_t wanted = newCols > 0 ? blocksFor(newRows) : 0;
    try {
        std::vector<std::unique_ptr<CellRef[]>> reshaped(wanted);
        for (std::size_t b = 0; b < wanted; ++b) {
            const std::size_t newBlockRows = rowsOfBlock(b, newRows);
            const bool same =
                newCols == cols && b < blocks.size() && newBlockRows == rowsOfBlock(b, rows);
            if (same) {
                reshaped[b] = std::move(blocks[b]);
                continue;
            }
            reshaped[b] =
                std::make_unique<CellRef[]>(newBlockRows * static_cast<std::size_t>(newCols));
            if (b >= blocks.size()) {
                continue;
            }
            const std::size_t keptRows = std::min(newBlockRows, rowsOfBlock(b, rows));
            const auto keptCols = static_cast<std::size_t>(std::min(cols, newCols));
            for (std::size_t r = 0; r < keptRows; ++r) {
                std::copy_n(&blocks[b][r * static_cast<std::size_t>(cols)], keptCols,
                            &reshaped[b][r * static_cast<std::size_t>(newCols)]);
            }
        }
        blocks = std::move(reshaped);
    } catch (const std::bad_alloc&) {
        if (after > before) {
            giveBack(after - before);
        }
        return false;
    }
    if (after < before) {
        giveBack(before - after);
    }
    const int oldRows = rows;
    cols = newCols;
    rows = newRows;
    // Rows dropped inside a kept full block must come back empty when raised again.
    const int heldRows =
        newRows > rowsPerBlock ? static_cast<int>(blocks.size()) * rowsPerBlock : newRows;
    for (int r = newRows; r < std::min(oldRows, heldRows); ++r) {
        std::fill_n(refAt(r, 0), cols, CellRef{0});
    }
    highestWrittenRow = std::min(highestWrittenRow, std::max(newRows - 1, 0));
    return true;
}

GridStore::CellRef* GridStore::refAt(int r, int c) const {
    return &blocks[static_cast<std::size_t>(r / rowsPerBlock)]
                  [static_cast<std::size_t>(r % rowsPerBlock) * cols + c];
}

std::optional<GridStore::CellRef> GridStore::placeInChunk(std::string_view text) {
    if (chunks.empty() || chunkUsed + text.size() > chunkCapacity) {
        return std::nullopt;
    }
    std::memcpy(chunks.back().data() + chunkUsed, text.data(), text.size());
    const CellRef ref = (static_cast<std::uint64_t>(chunks.size()) << 40) |
                        (static_cast<std::uint64_t>(chunkUsed) << offsetShift) | text.size();
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
    const char* start = chunks[chunk - 1].data() + ((ref >> offsetShift) & offsetMask);
    return {start, static_cast<std::size_t>(ref & lengthMask)};
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
    const bool large = text.size() > largeTextThreshold;
    {
        std::lock_guard guard(lock);
        if (!inRange(r, c)) {
            return false;
        }
        std::optional<CellRef> ref;
        if (text.empty()) {
            ref = CellRef{0};
        } else if (!large) {
            ref = placeInChunk(text);
        }
        if (ref) {
            *refAt(r, c) = *ref;
            highestWrittenRow = std::max(highestWrittenRow, r);
            return true;
        }
    }
    // Memory for the text is made without the lock, so that the window's thread never waits
    // for an allocation of the worker's.
    const std::size_t size =
        large ? text.size()
              : std::max(chunkCapacity == 0 ? firstChunkSize
                                            : std::min(chunkCapacity * 2, largestChunkSize),
                         text.size());
    if (!take(size)) {
        return false;
    }
    std::optional<TextChunk> chunk;
    std::string largeText;
    try {
        if (large) {
            largeText.assign(text);
        } else {
            chunk.emplace(size);
        }
        std::lock_guard guard(lock);
        if (!inRange(r, c)) {
            giveBack(size);
            return false;
        }
        CellRef ref = 0;
        if (large) {
            largeTexts.push_back(std::move(largeText));
            textBytes += size;
            ref = (largeMarker << 40) | (largeTexts.size() - 1);
        } else {
            chunks.push_back(std::move(*chunk));
            chunkCapacity = size;
            chunkUsed = 0;
            ref = *placeInChunk(text);
        }
        *refAt(r, c) = ref;
        highestWrittenRow = std::max(highestWrittenRow, r);
        return true;
    } catch (const std::bad_alloc&) {
        giveBack(size);
        return false;
    }
}

bool GridStore::SetRow(int r, const RowCells& cells) {
    {
        std::lock_guard guard(lock);
        const std::string_view texts = cells.allTexts();
        const bool fits = texts.empty() || (texts.size() <= largeTextThreshold && !chunks.empty() &&
                                            chunkUsed + texts.size() <= chunkCapacity);
        if (fits && inRange(r, 0) && cells.size() <= static_cast<std::size_t>(cols)) {
            const std::uint64_t chunkBits = static_cast<std::uint64_t>(chunks.size()) << 40;
            CellRef* refs = refAt(r, 0);
            std::size_t start = 0;
            for (std::size_t k = 0; k < cells.size(); ++k) {
                const std::size_t length = cells.text(k).size();
                refs[k] = length == 0 ? CellRef{0}
                                      : chunkBits | ((chunkUsed + start) << offsetShift) | length;
                start += length;
            }
            if (!texts.empty()) {
                std::memcpy(chunks.back().data() + chunkUsed, texts.data(), texts.size());
            }
            chunkUsed += texts.size();
            textBytes += texts.size();
            highestWrittenRow = std::max(highestWrittenRow, r);
            return true;
        }
    }
    return ResultSink::SetRow(r, cells);
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
