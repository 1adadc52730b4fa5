// Which grid the results pane shows after a batch, and that every grid command takes that one.
#include "SessionWindowFixture.h"

#include "execution/ResultNavigation.h"
#include "results/CExportDlg.h"

namespace veltro {
namespace {

using test::SessionWindow;
using test::waitFor;

class GridOnShow : public SessionWindow {
protected:
    // Exactly one grid is visible; it is the pane's current grid, and status pane 2 describes
    // it. Returns its number, 0 when that does not hold.
    int gridOnShow(CChildFrame& session) {
        const std::vector<CMSFlexGrid*>& grids = session.resultView().grids();
        int shown = 0;
        for (std::size_t i = 0; i < grids.size(); ++i) {
            if (grids[i]->isVisibleTo(&session.resultView())) {
                EXPECT_EQ(shown, 0) << "two grids on show";
                shown = static_cast<int>(i) + 1;
            }
        }
        if (shown == 0) {
            return 0;
        }
        const CMSFlexGrid* grid = grids[static_cast<std::size_t>(shown - 1)];
        EXPECT_EQ(session.resultView().currentGrid(), grid);
        EXPECT_EQ(session.paneText(2).toStdString(),
                  ResultNavigation::gridInfoText(shown, static_cast<int>(grids.size()),
                                                 grid->store().Rows() - 1, grid->store().Cols()));
        return shown;
    }
};

TEST_F(GridOnShow, IsTheFirstAfterABatchAndFollowsNavigation) {
    CChildFrame* session = open(test::testDriver());
    ASSERT_NE(session, nullptr);
    for (const std::string batch :
         {"SELECT 1 AS a, 2 AS b", "SELECT 1 AS a, 2 AS b; SELECT 'x' AS c UNION ALL SELECT 'y'",
          "SELECT 1 AS a; SELECT 2 AS b, 3 AS c, 4 AS d; SELECT 5 AS e UNION ALL SELECT 6"}) {
        execute(*session, batch);
        EXPECT_EQ(gridOnShow(*session), 1) << batch;
    }
    ResultNavigation& nav = session->executionControl().navigation();
    nav.goNext();
    EXPECT_EQ(gridOnShow(*session), 2);
    nav.goLast();
    EXPECT_EQ(gridOnShow(*session), 3);
    nav.ToggleMessages();
    EXPECT_EQ(gridOnShow(*session), 0);
    nav.ToggleMessages();
    EXPECT_EQ(gridOnShow(*session), 3);
}

TEST_F(GridOnShow, IsTheFirstAfterACancelledBatchOfManyResults) {
    CChildFrame* session = open(test::testDriver("FetchDelay=1"));
    ASSERT_NE(session, nullptr);
    std::string batch = "SELECT 1 AS a, 2 AS b";
    for (int i = 0; i < 50; ++i) {
        batch += "; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100) "
                 "SELECT i FROM n";
    }
    session->queryView().setTextUtf8(batch);
    session->executeQuery();
    ASSERT_TRUE(waitFor([&] { return session->executionControl().batch().gridCount() >= 3; }));
    session->cancelQuery();
    ASSERT_TRUE(waitFor([&] { return !session->executionControl().batch().executing(); }));
    EXPECT_EQ(session->paneText(0), "Query batch canceled");
    EXPECT_EQ(gridOnShow(*session), 1);
}

TEST_F(GridOnShow, CopyAndSaveSelectionTakeTheCellClickedInTheGridOnShow) {
    CChildFrame* session = open(test::testDriver());
    ASSERT_NE(session, nullptr);
    execute(*session, "SELECT 'first' AS a, 'grid' AS b; "
                      "SELECT 'r1c0' AS x, 'r1c1' AS y UNION ALL SELECT 'r2c0', 'r2c1'");
    session->executionControl().navigation().goNext();
    ASSERT_EQ(gridOnShow(*session), 2);
    CMSFlexGrid* second = session->resultView().currentGrid();
    const QRect cell = second->visualRect(second->model()->index(1, 1));
    QTest::mouseClick(second->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::keyClick(second, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "r2c1");

    const auto target = test::workFolder("grid-on-show") / "selection.csv";
    CExportDlg::setRunner([&target](CExportDlg& dialog) {
        dialog.confirm(QString::fromStdString(target.string()));
        return true;
    });
    const bool saved = session->resultView().onSaveSelection();
    CExportDlg::setRunner({});
    ASSERT_TRUE(saved);
    std::ifstream in(target, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "r2c1");
}

} // namespace
} // namespace veltro
