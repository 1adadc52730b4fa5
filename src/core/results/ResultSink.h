#pragma once

#include "results/RowCells.h"

#include <string_view>

namespace veltro {

struct GridAppearance;
struct GridFontProperties;

// Where one result set goes: the grid interface as the worker and the session use it. Row 0
// is the header row, data rows start at 1. The worker writes column layout and cells; the
// session's thread sets the shape (while the worker waits for it) and the look. A grid
// (GridStore) keeps everything for the window; a stream (DelimitedStreamSink) writes rows
// out as they are finished and keeps almost nothing.
class ResultSink {
public:
    virtual ~ResultSink() = default;

    virtual int Rows() const = 0;
    // Raising keeps every text, lowering drops the rows beyond; false when refused.
    virtual bool SetRows(int rows) = 0;
    virtual int Cols() const = 0;
    virtual bool SetCols(int cols) = 0;

    // False outside Rows x Cols (or when the text cannot be kept).
    virtual bool SetTextMatrix(int row, int col, std::string_view text) = 0;
    // A NULL value: shown as an empty cell.
    virtual bool SetNullCell(int row, int col) { return SetTextMatrix(row, col, {}); }
    // The cells of a row from column 0 on; false at the first cell that cannot be set, with
    // the cells before it set.
    virtual bool SetRow(int row, const RowCells& cells) {
        for (std::size_t k = 0; k < cells.size(); ++k) {
            const int col = static_cast<int>(k);
            if (!(cells.isNull(k) ? SetNullCell(row, col)
                                  : SetTextMatrix(row, col, cells.text(k)))) {
                return false;
            }
        }
        return true;
    }
    virtual bool SetColWidth(int col, int twips) = 0;
    virtual bool SetColAlignment(int col, int alignment) = 0;

    // The result set has all its rows: a sink that writes rows out does so now.
    virtual void rowsComplete() {}

    // The look of a grid on screen; nothing for a sink that is not shown.
    virtual void SetRedraw(bool on) { static_cast<void>(on); }
    virtual void setAppearance(const GridAppearance& settings) { static_cast<void>(settings); }
    virtual void setFont(const GridFontProperties& properties) { static_cast<void>(properties); }
};

} // namespace veltro
