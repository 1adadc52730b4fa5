#include "ResultsTestSupport.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

namespace veltro::test {
namespace {

class GridWidgetTest : public ResultsUiTest {};

TEST_F(GridWidgetTest, ShowsHeaderRowAsColumnTitlesAndDataRowsBelow) {
    auto store = filledGrid(4, 3);
    store->SetColAlignment(1, 1);
    store->SetColWidth(2, 1440);
    CMSFlexGrid grid(store);
    QAbstractItemModel* model = grid.model();

    EXPECT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->columnCount(), 3);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "r0c1");
    EXPECT_EQ(model->index(0, 0).data().toString(), "r1c0");
    EXPECT_EQ(model->index(2, 2).data().toString(), "r3c2");
    EXPECT_EQ(model->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_EQ(grid.columnWidth(2), grid.logicalDpiX());
}

TEST_F(GridWidgetTest, UnicodeCellsShowAsWritten) {
    auto store = filledGrid(2, 1);
    store->SetTextMatrix(1, 0,
                         "Gr\xC3\xBC\xC3\x9F"
                         "e \xE2\x82\xAC");
    CMSFlexGrid grid(store);
    EXPECT_EQ(grid.model()->index(0, 0).data().toString(), QString::fromUtf8("Grüße €"));
}

TEST_F(GridWidgetTest, MillionRowGridIsAnnouncedAsAppendedRowsAndScrollsToTheEnd) {
    auto store = std::make_shared<GridStore>();
    store->SetCols(2);
    store->SetRows(1);
    store->SetTextMatrix(0, 0, "id");
    CMSFlexGrid grid(store);
    grid.resize(300, 200);
    grid.show();
    QSignalSpy inserted(grid.model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(grid.model(), &QAbstractItemModel::modelReset);

    // The session raises the row count in steps while the worker fills cells.
    for (int rows = 701; rows <= 1'000'001; rows += 700 * 100) {
        store->SetRows(rows);
        grid.rowsChanged();
    }
    store->SetRows(1'000'001);
    grid.rowsChanged();
    store->SetTextMatrix(1'000'000, 1, "last");
    grid.refresh();

    EXPECT_EQ(grid.model()->rowCount(), 1'000'000);
    EXPECT_EQ(reset.count(), 0);
    EXPECT_GT(inserted.count(), 0);
    EXPECT_EQ(grid.verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    grid.scrollToBottom();
    const QModelIndex last = grid.model()->index(999'999, 1);
    EXPECT_EQ(last.data().toString(), "last");
    EXPECT_TRUE(grid.viewport()->rect().intersects(grid.visualRect(last)));
    EXPECT_EQ(grid.model()->index(500'000, 0).data().toString(), "");
}

TEST_F(GridWidgetTest, LoweringRowsDropsThemFromTheView) {
    auto store = filledGrid(10, 2);
    CMSFlexGrid grid(store);
    store->SetRows(4);
    grid.rowsChanged();
    EXPECT_EQ(grid.model()->rowCount(), 3);
}

TEST_F(GridWidgetTest, UserSelectionSetsTheStoreCorners) {
    auto store = filledGrid(6, 4);
    CMSFlexGrid grid(store);
    grid.resize(400, 300);
    grid.show();
    QItemSelectionModel* selection = grid.selectionModel();

    // Click on data row 2 column 1, then shift-extend to data row 4 column 3.
    selection->setCurrentIndex(grid.model()->index(1, 1), QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(store->Row(), 2);
    EXPECT_EQ(store->Col(), 1);
    EXPECT_EQ(store->RowSel(), 2);
    EXPECT_EQ(store->ColSel(), 1);

    selection->setCurrentIndex(grid.model()->index(3, 3), QItemSelectionModel::NoUpdate);
    selection->select(QItemSelection(grid.model()->index(1, 1), grid.model()->index(3, 3)),
                      QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(store->Row(), 2);
    EXPECT_EQ(store->Col(), 1);
    EXPECT_EQ(store->RowSel(), 4);
    EXPECT_EQ(store->ColSel(), 3);

    // A whole column from its header: every data row of that column.
    grid.selectColumn(2);
    EXPECT_EQ(std::min(store->Row(), store->RowSel()), 1);
    EXPECT_EQ(std::max(store->Row(), store->RowSel()), 5);
    EXPECT_EQ(store->Col(), 2);
    EXPECT_EQ(store->ColSel(), 2);
}

TEST_F(GridWidgetTest, ViewFollowsCornersSetOnTheStore) {
    auto store = filledGrid(6, 4);
    CMSFlexGrid grid(store);
    store->SetRow(2);
    store->SetCol(1);
    store->SetRowSel(3);
    store->SetColSel(2);
    grid.selectionFromStore();

    const QModelIndexList chosen = grid.selectionModel()->selectedIndexes();
    EXPECT_EQ(chosen.size(), 4);
    EXPECT_TRUE(grid.selectionModel()->isSelected(grid.model()->index(1, 1)));
    EXPECT_TRUE(grid.selectionModel()->isSelected(grid.model()->index(2, 2)));
    // Following the store does not write it back differently.
    EXPECT_EQ(store->Row(), 2);
    EXPECT_EQ(store->RowSel(), 3);
}

TEST_F(GridWidgetTest, CurrentCellStartsOnTheFirstDataCell) {
    auto store = std::make_shared<GridStore>();
    store->SetCols(2);
    store->SetRows(1);
    CMSFlexGrid grid(store);
    store->SetRows(701);
    grid.rowsChanged();
    EXPECT_EQ(store->Row(), 1);
    EXPECT_EQ(store->RowSel(), 1);
    EXPECT_EQ(store->Col(), 0);
}

TEST_F(GridWidgetTest, StoreFontAndRedrawReachTheWidget) {
    auto store = filledGrid(3, 2);
    CMSFlexGrid grid(store);
    GridFontProperties font;
    font.name = "Courier";
    font.size = 120000;
    font.weight = 700;
    font.italic = true;
    store->setFont(font);
    grid.applyStoreFont();
    EXPECT_DOUBLE_EQ(grid.font().pointSizeF(), 12.0);
    EXPECT_EQ(grid.font().weight(), QFont::Bold);
    EXPECT_TRUE(grid.font().italic());
    EXPECT_GE(grid.verticalHeader()->defaultSectionSize(), QFontMetrics(grid.font()).height());

    store->SetRedraw(false);
    grid.refresh();
    EXPECT_FALSE(grid.updatesEnabled());
    store->SetRedraw(true);
    grid.refresh();
    EXPECT_TRUE(grid.updatesEnabled());
}

TEST_F(GridWidgetTest, AppearanceOfANewGrid) {
    auto store = filledGrid(3, 2);
    CMSFlexGrid grid(store);
    GridAppearance look;
    look.backColorBkg = 0xFFFFFF;
    look.borderStyle = 0;
    look.allowUserResizing = 1;
    look.focusRect = 0;
    look.highLight = 1;
    look.scrollBars = 3;
    store->setAppearance(look);
    grid.refresh();
    EXPECT_EQ(grid.palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(grid.frameShape(), QFrame::NoFrame);
    EXPECT_EQ(grid.horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    EXPECT_EQ(grid.palette().color(QPalette::Inactive, QPalette::Highlight),
              grid.palette().color(QPalette::Active, QPalette::Highlight));
}

} // namespace
} // namespace veltro::test
