#include "ResultsTestSupport.h"

#include "app/PrinterSetup.h"

#include "results/ResultPaneText.h"
#include "settings/PaneFont.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

namespace veltro::test {
namespace {

class ResultViewTest : public ResultsUiTest {
protected:
    FakeSessionWindow window;
    CResultView& pane = *window.pane;
    QTemporaryDir folder;

    QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(ResultViewTest, CopyOfOneCellAndOfABlock) {
    auto store = filledGrid(5, 4);
    window.addGrid(store, true);
    window.record.statusText = "Query batch completed";

    store->SetRow(2);
    store->SetCol(1);
    store->SetRowSel(2);
    store->SetColSel(1);
    ASSERT_TRUE(pane.canCopy());
    pane.onEditCopy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "r2c1");

    // Corners given in either order mean the same block.
    store->SetRow(3);
    store->SetCol(3);
    store->SetRowSel(2);
    store->SetColSel(1);
    pane.onEditCopy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "r2c1\tr2c2\tr2c3\nr3c1\tr3c2\tr3c3");
    EXPECT_NE(std::find(window.paneHistory.begin(), window.paneHistory.end(), "Copying..."),
              window.paneHistory.end());
    EXPECT_EQ(window.panes[0], "Query batch completed");
}

TEST_F(ResultViewTest, CopyOfTextCopiesTheSelectionOnly) {
    pane.setPaneText("first line\nsecond");
    EXPECT_FALSE(pane.canCopy());
    QTextCursor cursor = pane.textCursor();
    cursor.setPosition(6);
    cursor.setPosition(10, QTextCursor::KeepAnchor);
    pane.setTextCursor(cursor);
    ASSERT_TRUE(pane.canCopy());
    pane.onEditCopy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "line");
}

TEST_F(ResultViewTest, SelectAllOnAGridTakesEveryDataRow) {
    auto store = filledGrid(5, 3);
    CMSFlexGrid* grid = window.addGrid(store, true);
    ASSERT_TRUE(pane.canSelectAll());
    pane.onEditSelectAll();
    EXPECT_EQ(store->Row(), 1);
    EXPECT_EQ(store->Col(), 0);
    EXPECT_EQ(store->RowSel(), 4);
    EXPECT_EQ(store->ColSel(), 2);
    EXPECT_EQ(grid->selectionModel()->selectedIndexes().size(), 4 * 3);

    // A grid with only its header row has nothing to select.
    window.control.ClearResults({});
    window.addGrid(filledGrid(1, 3), true);
    EXPECT_FALSE(pane.canSelectAll());
}

TEST_F(ResultViewTest, KeysOnAGridReachThePaneCommands) {
    auto store = filledGrid(3, 2);
    CMSFlexGrid* grid = window.addGrid(store, true);
    QTest::keyClick(grid, Qt::Key_Return);
    QTest::keyClick(grid, Qt::Key_Enter);
    EXPECT_EQ(prompts.beeps, 2);

    QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(store->RowSel(), 2);
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "r1c0\tr1c1\nr2c0\tr2c1");

    // Enter on the text does not beep.
    grid->hide();
    QTest::keyClick(&pane, Qt::Key_Return);
    EXPECT_EQ(prompts.beeps, 2);
}

TEST_F(ResultViewTest, SaveAsOfAnObjectsSourceSuggestsItsName) {
    pane.setPaneText("create procedure ListOrders as\nselect * from Orders\n");
    pane.setPaneTitle("listorders");
    const QString path = folder.filePath("source");
    prompts.fileNames.push_back(path);
    ASSERT_TRUE(pane.onFileSaveAs());
    ASSERT_EQ(prompts.suggestions.size(), 1u);
    EXPECT_EQ(prompts.suggestions[0], "listorders");
    EXPECT_EQ(readFile(path + ".qry"),
              "create procedure ListOrders as\r\nselect * from Orders\r\n");
    EXPECT_EQ(pane.paneTitle(), "listorders");
}

TEST_F(ResultViewTest, SaveAsOfBatchMessagesSuggestsUntitledText) {
    const TextSaveChoice object = textSaveChoice("ListOrders", "exec ListOrders");
    EXPECT_EQ(object.filter, "Query Files (*.qry);;All Files (*.*)");
    const TextSaveChoice plain = textSaveChoice("", "(3 row(s) affected)");
    EXPECT_EQ(plain.suggestedName, "Untitled");
    EXPECT_EQ(plain.filter, "Text Files (*.txt);;All Files(*.*)");

    pane.setPaneText("(3 row(s) affected)\n\n(1 row(s) affected)");
    pane.setPaneTitle("Orders");
    const QString path = folder.filePath("messages.txt");
    prompts.fileNames.push_back(path);
    ASSERT_TRUE(pane.onFileSaveAs());
    EXPECT_EQ(prompts.suggestions.at(0), "Untitled");
    EXPECT_EQ(pane.paneTitle(), "Untitled");
    EXPECT_EQ(readFile(path), "(3 row(s) affected)\r\n\r\n(1 row(s) affected)");
}

TEST_F(ResultViewTest, SaveAsIntoAMissingFolderReportsTheCause) {
    pane.setPaneText("text");
    const QString path = folder.filePath("missing/out.txt");
    prompts.fileNames.push_back(path);
    EXPECT_FALSE(pane.onFileSaveAs());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0],
              "File Path Name: <" + path.toStdString() + "> All or part of the path is invalid.");
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(ResultViewTest, ClearAllAnsweredNoChangesNothing) {
    auto store = filledGrid(3, 2);
    window.addGrid(store, true);
    window.record.statusText = "Query batch completed";
    ASSERT_TRUE(pane.canClearAll());
    prompts.answers.push_back(PromptAnswer::no);
    pane.onClearAll();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0], clearAllQuestionText);
    EXPECT_EQ(window.batch().gridCount(), 1);
    EXPECT_TRUE(pane.gridOnShow());
    EXPECT_EQ(window.record.statusText, "Query batch completed");
}

TEST_F(ResultViewTest, ClearAllOfGridsResetsTheStatusPanes) {
    window.addGrid(filledGrid(3, 2), true);
    window.addGrid(filledGrid(3, 2), false);
    window.record.statusText = "Query batch completed";
    window.record.execTimeText = "Exec time: 00:00:07";
    window.record.resultInfoText = "Results grid #1 of 2; 2 row(s); 2 col(s)";
    prompts.answers.push_back(PromptAnswer::yes);
    pane.onClearAll();
    EXPECT_EQ(window.batch().gridCount(), 0);
    EXPECT_EQ(pane.currentGrid(), nullptr);
    EXPECT_TRUE(pane.grids().empty());
    EXPECT_EQ(window.editorFocusRequests, 1);
    EXPECT_EQ(window.panes[0], "Ready");
    EXPECT_EQ(window.panes[1], "Exec time: 00:00:00");
    EXPECT_EQ(window.panes[2], "CDatabase::IsOpen == FALSE");
    EXPECT_FALSE(pane.canClearAll());
}

TEST_F(ResultViewTest, ClearAllOfMessagesKeepsTheObjectText) {
    window.startBatch(BatchOutput::text);
    window.control.onTextFetchDone({0, true}, "create view v as select 1");
    window.record.resultInfoText = "MESSAGES";
    pane.setPaneText(window.batch().messageBuffer);
    prompts.answers.push_back(PromptAnswer::yes);
    pane.onClearAll();
    EXPECT_TRUE(window.batch().messageBuffer.empty());
    EXPECT_EQ(window.batch().textBuffer, "create view v as select 1");
    EXPECT_TRUE(pane.paneText().empty());
    // Something is left, so the panes keep their texts.
    EXPECT_EQ(window.record.statusText, "Query batch canceled");
}

TEST_F(ResultViewTest, ClearAllIsRefusedWhileABatchRuns) {
    window.startBatch();
    pane.setPaneText("text");
    EXPECT_FALSE(pane.canClearAll());
    pane.onClearAll();
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ResultViewTest, PrintingRefusesLandscapeAndNamesTheJob) {
    pane.setPaneText("select 1");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString path = folder.filePath("out.pdf");
    printer.setOutputFileName(path);

    printer.setPageOrientation(QPageLayout::Landscape);
    EXPECT_FALSE(pane.printTo(printer));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0], landscapeRefusedText);
    EXPECT_FALSE(QFile::exists(path));

    printer.setPageOrientation(QPageLayout::Portrait);
    window.title.clear();
    ASSERT_TRUE(pane.printTo(printer));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(pane.paneTitle(), "Untitled");
    EXPECT_EQ(printer.docName(), "Untitled");
    EXPECT_EQ(window.titles, (std::vector<std::string>{"Untitled", "Untitled."}));
}

// The print dialog starts from Print Setup's choice, the font dialog from the face on show.
TEST_F(ResultViewTest, PrintAndFontDialogsStartFromWhatIsInUse) {
    pane.setPaneText("select 1");
    for (const auto orientation : {QPageLayout::Landscape, QPageLayout::Portrait}) {
        prompts.setUpOrientation = orientation;
        ASSERT_TRUE(runPrintSetup(nullptr));
        pane.onFilePrint();
        ASSERT_FALSE(prompts.printOrientations.empty());
        EXPECT_EQ(prompts.printOrientations.back(), orientation);
    }
    pane.onFont();
    ASSERT_EQ(prompts.initialFonts.size(), 1u);
    EXPECT_EQ(prompts.initialFonts[0].family(), QFontInfo(pane.font()).family());
}

TEST_F(ResultViewTest, CommandsThatOnlyApplyToTextAreOffWithAGrid) {
    pane.setPaneText("text");
    EXPECT_TRUE(pane.canPrint());
    EXPECT_TRUE(pane.canWrapWord());
    std::unique_ptr<QMenu> textMenu = pane.contextMenu();
    ASSERT_EQ(textMenu->actions().size(), 5);
    EXPECT_EQ(textMenu->actions()[0]->text(), "&Copy");
    EXPECT_FALSE(textMenu->actions()[0]->isEnabled());
    EXPECT_TRUE(textMenu->actions()[1]->isEnabled());

    window.addGrid(filledGrid(3, 2), true);
    EXPECT_FALSE(pane.canPrint());
    EXPECT_FALSE(pane.canWrapWord());
    std::unique_ptr<QMenu> gridMenu = pane.contextMenu();
    ASSERT_EQ(gridMenu->actions().size(), 3);
    EXPECT_EQ(gridMenu->actions()[1]->text(), "&Save Selection...");
}

TEST_F(ResultViewTest, WrapWordTogglesAndIsRemembered) {
    EXPECT_FALSE(pane.wrapWordChecked());
    QTest::keyClick(&pane, Qt::Key_F7);
    EXPECT_TRUE(pane.wrapWordChecked());
    EXPECT_EQ(pane.lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(window.store.readInt("Result", "WrapWord", 0), 1);

    FakeSessionWindow next;
    next.store.writeInt("Result", "WrapWord", 1);
    CResultView reopened(next);
    EXPECT_TRUE(reopened.wrapWordChecked());
}

TEST_F(ResultViewTest, TextFontComesFromSettingsOrCourier) {
    EXPECT_EQ(pane.font().family(), "Courier");
    EXPECT_EQ(pane.font().pixelSize(), 15);

    FakeSessionWindow stored;
    LogicalFont font;
    font.faceName = "DejaVu Sans Mono";
    font.height = -20;
    font.weight = 700;
    writePaneFont(stored.store, resultFontSection, font);
    CResultView reopened(stored);
    EXPECT_EQ(reopened.font().family(), "DejaVu Sans Mono");
    EXPECT_EQ(reopened.font().pixelSize(), 20);
    EXPECT_TRUE(reopened.font().bold());
}

TEST_F(ResultViewTest, GridFontGoesToEverySessionAndIsStored) {
    FakeSessionWindow other;
    auto mine = filledGrid(3, 2);
    auto theirs = filledGrid(3, 2);
    window.addGrid(mine, true);
    CMSFlexGrid* theirGrid = other.addGrid(theirs, true);

    QFont chosen("DejaVu Sans");
    chosen.setPointSizeF(14.5);
    chosen.setBold(true);
    prompts.font = chosen;
    pane.onFont();

    EXPECT_EQ(theirs->font().size, 145000);
    EXPECT_EQ(theirs->font().name, "DejaVu Sans");
    EXPECT_TRUE(mine->font().bold);
    EXPECT_DOUBLE_EQ(theirGrid->font().pointSizeF(), 14.5);
    EXPECT_EQ(other.record.gridFontExtras.size, 145000);
    EXPECT_NE(other.record.gridFont.height, 0);

    LogicalFont stored;
    GridFontExtras extras;
    ASSERT_TRUE(readPaneFont(window.store, gridFontSection, stored, &extras));
    EXPECT_EQ(stored.faceName, "DejaVu Sans");
    EXPECT_EQ(extras.size, 145000);
    EXPECT_EQ(extras.bold, 1);
}

TEST_F(ResultViewTest, TextFontGoesToEveryResultsPane) {
    FakeSessionWindow other;
    QFont chosen("DejaVu Sans Mono");
    chosen.setPixelSize(18);
    prompts.font = chosen;
    pane.onFont();
    EXPECT_EQ(other.pane->font().family(), "DejaVu Sans Mono");
    EXPECT_EQ(other.pane->font().pixelSize(), 18);
    LogicalFont stored;
    ASSERT_TRUE(readPaneFont(window.store, resultFontSection, stored));
    EXPECT_EQ(stored.height, -18);
}

TEST_F(ResultViewTest, GridsFollowThePaneSizeAndTakeTheFocus) {
    pane.show();
    CMSFlexGrid* grid = window.addGrid(filledGrid(3, 2), false);
    pane.resize(500, 320);
    EXPECT_EQ(grid->geometry(), QRect(0, 0, 500, 320));
    pane.showGrid(grid);
    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(&pane, &focusIn);
    EXPECT_EQ(pane.focusWidget(), grid);
    EXPECT_EQ(pane.currentGrid(), grid);
    EXPECT_TRUE(pane.gridOnShow());
}

} // namespace
} // namespace veltro::test
