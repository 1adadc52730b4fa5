#include "ResultsTestSupport.h"

#include "results/CExportDlg.h"
#include "results/SaveGridResults.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

namespace veltro::test {
namespace {

class ExportDialogTest : public ResultsUiTest {
protected:
    ~ExportDialogTest() override { CExportDlg::setRunner({}); }

    // Answers the next export dialogs: what the test does to the dialog, then the file
    // (none: cancel). What the dialog offered is noted for the checks.
    void answerDialog(std::function<void(CExportDlg&)> choose, const QString& file) {
        CExportDlg::setRunner([this, choose, file](CExportDlg& dialog) {
            seenTitle = dialog.windowTitle();
            seenFormat = dialog.formatList()->currentText();
            seenColumnNames = dialog.columnNamesBox()->isChecked();
            seenColumnNamesEnabled = dialog.columnNamesBox()->isEnabled();
            if (choose) {
                choose(dialog);
            }
            if (file.isEmpty()) {
                return false;
            }
            dialog.confirm(file);
            return true;
        });
    }

    QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    FakeSessionWindow window;
    QTemporaryDir folder;
    QString seenTitle;
    QString seenFormat;
    bool seenColumnNames = false;
    bool seenColumnNamesEnabled = false;
};

TEST_F(ExportDialogTest, OffersTheFourDelimitersInOrderWithCommaFirst) {
    CExportDlg dialog(window.store, false);
    ASSERT_EQ(dialog.formatList()->count(), 4);
    EXPECT_EQ(dialog.formatList()->itemText(0), "Comma Seperated");
    EXPECT_EQ(dialog.formatList()->itemText(1), "Tab Delimited");
    EXPECT_EQ(dialog.formatList()->itemText(2), "Pipe Seperated");
    EXPECT_EQ(dialog.formatList()->itemText(3), "<None>");
    EXPECT_EQ(dialog.formatList()->currentText(), "Comma Seperated");
    EXPECT_TRUE(dialog.columnNamesBox()->isChecked());
    EXPECT_EQ(dialog.windowTitle(), "Save Grid Results");
    EXPECT_EQ(dialog.defaultSuffix(), "csv");
}

TEST_F(ExportDialogTest, RemembersTheChosenDelimiterAndCheckBox) {
    {
        CExportDlg dialog(window.store, false);
        dialog.formatList()->setCurrentText("Tab Delimited");
        dialog.columnNamesBox()->setChecked(false);
        dialog.confirm(folder.filePath("a.csv"));
        EXPECT_EQ(dialog.delimiter(), "\t");
        EXPECT_FALSE(dialog.columnNames());
    }
    EXPECT_EQ(window.store.readText("Grid\\Export Options", "Format", ""), "Tab Delimited");
    EXPECT_EQ(window.store.readInt("Grid\\Export Options", "ColumnNames", 1), 0);

    CExportDlg next(window.store, false);
    EXPECT_EQ(next.formatList()->currentText(), "Tab Delimited");
    EXPECT_FALSE(next.columnNamesBox()->isChecked());
}

TEST_F(ExportDialogTest, StoredFormatIsMatchedByItsBeginningWithoutCase) {
    window.store.writeText("Grid\\Export Options", "Format", "  pipe  ");
    CExportDlg dialog(window.store, false);
    EXPECT_EQ(dialog.formatList()->currentText(), "Pipe Seperated");
}

TEST_F(ExportDialogTest, UnknownStoredFormatFallsBackToComma) {
    window.store.writeText("Grid\\Export Options", "Format", ";");
    auto store = filledGrid(2, 2);
    window.addGrid(store, true);
    const QString path = folder.filePath("out.csv");
    answerDialog({}, path);
    ASSERT_TRUE(SaveGridResults(*window.pane, false));
    EXPECT_EQ(seenFormat, "Comma Seperated");
    EXPECT_EQ(readFile(path), "r0c0,r0c1\r\nr1c0,r1c1\r\n\r\n");
    EXPECT_EQ(window.store.readText("Grid\\Export Options", "Format", ""), "Comma Seperated");
}

TEST_F(ExportDialogTest, SaveGridResultsWritesEveryGridWithTheChosenOptions) {
    window.addGrid(filledGrid(3, 2), true);
    window.addGrid(filledGrid(3, 2), false);
    window.record.statusText = "Query batch completed";
    const QString path = folder.filePath("all.csv");
    answerDialog([](CExportDlg& dialog) { dialog.columnNamesBox()->setChecked(false); }, path);
    ASSERT_TRUE(window.pane->onFileSaveAs());
    EXPECT_EQ(seenTitle, "Save Grid Results");
    EXPECT_EQ(readFile(path), "r1c0,r1c1\r\nr2c0,r2c1\r\n\r\nr1c0,r1c1\r\nr2c0,r2c1\r\n\r\n");
    EXPECT_NE(
        std::find(window.paneHistory.begin(), window.paneHistory.end(), "Saving grid results..."),
        window.paneHistory.end());
    EXPECT_EQ(window.panes[0], "Query batch completed");
}

TEST_F(ExportDialogTest, GridStillBeingFilledIsWrittenAsItStands) {
    window.startBatch();
    auto store = filledGrid(2, 2);
    window.addGrid(store, true);
    // Room made for rows the worker has not written yet.
    store->SetRows(4);
    window.pane->gridRowsChanged(*store);
    const QString path = folder.filePath("partial.csv");
    answerDialog([](CExportDlg& dialog) { dialog.formatList()->setCurrentText("<None>"); }, path);
    ASSERT_TRUE(window.pane->onFileSaveAs());
    EXPECT_EQ(readFile(path), "r0c0r0c1\r\nr1c0r1c1\r\n\r\n\r\n\r\n");
}

TEST_F(ExportDialogTest, SaveSelectionWritesTheBlockWithoutHeaderOrLineEnd) {
    auto store = filledGrid(4, 3);
    window.addGrid(store, true);
    store->SetRow(1);
    store->SetCol(1);
    store->SetRowSel(2);
    store->SetColSel(2);
    const QString path = folder.filePath("selection.csv");
    answerDialog([](CExportDlg& dialog) { dialog.formatList()->setCurrentText("Pipe Seperated"); },
                 path);
    ASSERT_TRUE(window.pane->onSaveSelection());
    EXPECT_EQ(seenTitle, "Save Selection");
    EXPECT_FALSE(seenColumnNamesEnabled);
    EXPECT_EQ(readFile(path), "r1c1|r1c2\r\nr2c1|r2c2");
    EXPECT_NE(
        std::find(window.paneHistory.begin(), window.paneHistory.end(), "Saving selection..."),
        window.paneHistory.end());
}

TEST_F(ExportDialogTest, CancelWritesAndStoresNothing) {
    window.addGrid(filledGrid(2, 2), true);
    answerDialog([](CExportDlg& dialog) { dialog.formatList()->setCurrentText("Tab Delimited"); },
                 {});
    EXPECT_FALSE(SaveGridResults(*window.pane, false));
    EXPECT_FALSE(window.store.contains("Grid\\Export Options", "Format"));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ExportDialogTest, FileThatCannotBeCreatedIsReported) {
    window.addGrid(filledGrid(2, 2), true);
    const QString path = folder.filePath("no/such/folder.csv");
    answerDialog({}, path);
    EXPECT_FALSE(SaveGridResults(*window.pane, false));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0],
              "File Path Name: <" + path.toStdString() + "> All or part of the path is invalid.");
}

TEST_F(ExportDialogTest, ReplacingAnExistingFileIsAskedFirst) {
    const QString path = folder.filePath("exists.csv");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    CExportDlg dialog(window.store, false);
    dialog.selectFile(path);
    prompts.answers.push_back(PromptAnswer::no);
    dialog.done(QDialog::Accepted);
    EXPECT_TRUE(dialog.chosenPath().isEmpty());
    ASSERT_EQ(prompts.messages.size(), 1u);

    prompts.answers.push_back(PromptAnswer::yes);
    dialog.done(QDialog::Accepted);
    EXPECT_EQ(dialog.chosenPath(), path);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

} // namespace
} // namespace veltro::test
