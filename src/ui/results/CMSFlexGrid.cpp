#include "results/CMSFlexGrid.h"

#include "results/GridTableModel.h"
#include "results/ResultFonts.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>

#include <algorithm>
#include <climits>

namespace veltro {

namespace {

constexpr int twipsPerInch = 1440;
constexpr int notApplied = -2;

// Draws cells without the focus rectangle when the grid's FocusRect is 0.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool focusRect = true;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!focusRect) {
            option->state &= ~QStyle::State_HasFocus;
        }
    }
};

// Colours are stored as 0x00BBGGRR.
QColor colorOf(std::uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

} // namespace

bool CMSFlexGrid::isPaneCommandKey(const QKeyEvent* key) {
    return key->matches(QKeySequence::Copy) || key->matches(QKeySequence::SelectAll) ||
           (key->key() == Qt::Key_F7 && key->modifiers() == Qt::NoModifier) ||
           key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

CMSFlexGrid::CMSFlexGrid(std::shared_ptr<GridStore> store, QWidget* parent)
    : QTableView(parent), gridStore(std::move(store)),
      tableModel(new GridTableModel(gridStore, this)) {
    setModel(tableModel);
    setItemDelegate(new CellDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    // Fixed, uniform row heights keep scrolling through a million rows cheap: the view never
    // measures a row.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    applyAppearance();
    applyStoreFont();
    applyColumnWidths();
}

CMSFlexGrid::~CMSFlexGrid() = default;

void CMSFlexGrid::rowsChanged() {
    const int columnsBefore = tableModel->columnCount();
    tableModel->followShape();
    if (tableModel->columnCount() != columnsBefore) {
        appliedWidths.clear();
    }
    applyColumnWidths();
    placeFirstCurrentCell();
    applyRedraw();
}

void CMSFlexGrid::refresh() {
    rowsChanged();
    applyAppearance();
    applyStoreFont();
    tableModel->announceNewTexts();
    if (updatesEnabled()) {
        viewport()->update();
        horizontalHeader()->viewport()->update();
    }
}

void CMSFlexGrid::applyStoreFont() {
    const QFont wanted = fontFromGridProperties(gridStore->font(), QApplication::font());
    if (fontApplied && wanted == font()) {
        return;
    }
    fontApplied = true;
    setFont(wanted);
    const int rowHeight = QFontMetrics(wanted).height() + 4;
    verticalHeader()->setMinimumSectionSize(rowHeight);
    verticalHeader()->setDefaultSectionSize(rowHeight);
}

void CMSFlexGrid::applyAppearance() {
    const GridAppearance look = gridStore->appearance();
    QPalette colors = palette();
    colors.setColor(QPalette::Base, colorOf(look.backColorBkg));
    if (look.highLight != 0) {
        // Always: the selection stays highlighted when the grid loses the focus.
        for (const auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
            colors.setColor(QPalette::Inactive, role, colors.color(QPalette::Active, role));
        }
    }
    if (colors != palette()) {
        setPalette(colors);
    }
    setFrameShape(look.borderStyle == 0 ? QFrame::NoFrame : QFrame::StyledPanel);
    horizontalHeader()->setSectionResizeMode(look.allowUserResizing != 0 ? QHeaderView::Interactive
                                                                         : QHeaderView::Fixed);
    static_cast<CellDelegate*>(itemDelegate())->focusRect = look.focusRect != 0;
    const bool horizontal = look.scrollBars == 1 || look.scrollBars == 3;
    const bool vertical = look.scrollBars == 2 || look.scrollBars == 3;
    setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void CMSFlexGrid::applyColumnWidths() {
    const int cols = tableModel->columnCount();
    appliedWidths.resize(static_cast<std::size_t>(cols), notApplied);
    const int dpiX = logicalDpiX();
    for (int c = 0; c < cols; ++c) {
        const int twips = gridStore->ColWidth(c);
        if (twips == appliedWidths[static_cast<std::size_t>(c)]) {
            continue;
        }
        appliedWidths[static_cast<std::size_t>(c)] = twips;
        const int pixels =
            twips < 0 ? horizontalHeader()->defaultSectionSize() : twips * dpiX / twipsPerInch;
        setColumnWidth(c, pixels);
    }
}

void CMSFlexGrid::applyRedraw() {
    const bool redraw = gridStore->Redraw();
    if (redraw != updatesEnabled()) {
        setUpdatesEnabled(redraw);
    }
}

// The current cell starts on the first data cell once there is one, never on the header.
void CMSFlexGrid::placeFirstCurrentCell() {
    if (tableModel->rowCount() == 0 || tableModel->columnCount() == 0) {
        return;
    }
    if (gridStore->Row() == 0 && gridStore->RowSel() == 0) {
        gridStore->SetRow(1);
        gridStore->SetRowSel(1);
        selectionFromStore();
    }
}

void CMSFlexGrid::selectionFromStore() {
    const int rows = tableModel->rowCount();
    const int cols = tableModel->columnCount();
    if (rows == 0 || cols == 0) {
        return;
    }
    const auto modelRow = [rows](int storeRow) { return std::clamp(storeRow - 1, 0, rows - 1); };
    const auto modelCol = [cols](int col) { return std::clamp(col, 0, cols - 1); };
    const GridStore& grid = *gridStore;
    const QModelIndex corner = tableModel->index(modelRow(grid.Row()), modelCol(grid.Col()));
    const QModelIndex moving = tableModel->index(modelRow(grid.RowSel()), modelCol(grid.ColSel()));

    followingStore = true;
    const bool scrolls = hasAutoScroll();
    setAutoScroll(false);
    selectionModel()->setCurrentIndex(moving, QItemSelectionModel::NoUpdate);
    selectionModel()->select(QItemSelection(corner, moving), QItemSelectionModel::ClearAndSelect);
    setAutoScroll(scrolls);
    followingStore = false;
}

// The block's bounding box goes to the store. The current cell is the moving corner
// (RowSel/ColSel) when it lies on the box's edge, so that Row/Col is where the user
// started; in any case min/max of the corners is exactly the selected block.
void CMSFlexGrid::selectionToStore() {
    if (followingStore) {
        return;
    }
    const QModelIndex current = currentIndex();
    const QItemSelection selection = selectionModel()->selection();
    int top = INT_MAX;
    int bottom = -1;
    int left = INT_MAX;
    int right = -1;
    for (const QItemSelectionRange& range : selection) {
        top = std::min(top, range.top());
        bottom = std::max(bottom, range.bottom());
        left = std::min(left, range.left());
        right = std::max(right, range.right());
    }
    if (bottom < 0) {
        if (!current.isValid()) {
            return;
        }
        top = bottom = current.row();
        left = right = current.column();
    }
    const auto corners = [](int now, int low, int high, int& anchor, int& moving) {
        if (now == low && now != high) {
            moving = low;
            anchor = high;
        } else {
            moving = high;
            anchor = low;
        }
    };
    int row = 0;
    int rowSel = 0;
    int col = 0;
    int colSel = 0;
    corners(current.isValid() ? current.row() : bottom, top, bottom, row, rowSel);
    corners(current.isValid() ? current.column() : right, left, right, col, colSel);
    gridStore->SetRow(row + 1);
    gridStore->SetRowSel(rowSel + 1);
    gridStore->SetCol(col);
    gridStore->SetColSel(colSel);
}

void CMSFlexGrid::selectionChanged(const QItemSelection& selected,
                                   const QItemSelection& deselected) {
    QTableView::selectionChanged(selected, deselected);
    selectionToStore();
}

void CMSFlexGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    selectionToStore();
}

// The results pane's own keys go on to it.
bool CMSFlexGrid::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        isPaneCommandKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QTableView::event(event);
}

void CMSFlexGrid::keyPressEvent(QKeyEvent* event) {
    if (isPaneCommandKey(event)) {
        event->ignore();
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace veltro
