// The ODBC Driver Info sheet on real sessions: its pages, Save As, and F10.
#include "DriverInfoData.h"
#include "ScriptedPrompts.h"
#include "TestApplication.h"
#include "TestDatabases.h"

#include "app/CMainFrame.h"
#include "driverinfo/CDataTypes.h"
#include "driverinfo/CFunctions.h"
#include "driverinfo/CIdentifiers.h"
#include "driverinfo/CLimits.h"
#include "driverinfo/CMyPropertySheet.h"
#include "editor/CQryView.h"
#include "execution/ExecutionControl.h"
#include "odbc/OdbcConnection.h"
#include "session/CChildFrame.h"
#include "session/Session.h"
#include "settings/MemorySettingsStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace veltro {
namespace {

// The value shown beside a label of a page.
std::string fieldText(const QWidget& page, const QString& label) {
    for (const QLabel* candidate : page.findChildren<QLabel*>()) {
        if (candidate->text() != label || candidate->buddy() == nullptr) {
            continue;
        }
        if (const auto* value = qobject_cast<const QLabel*>(candidate->buddy())) {
            return value->text().toStdString();
        }
        if (const auto* edit = qobject_cast<const QLineEdit*>(candidate->buddy())) {
            return edit->text().toStdString();
        }
    }
    return "<no such field>";
}

std::vector<std::string> listTexts(const QListWidget& list) {
    std::vector<std::string> texts;
    for (int i = 0; i < list.count(); ++i) {
        texts.push_back(list.item(i)->text().toStdString());
    }
    return texts;
}

bool hasCheckMark(const QIcon& icon) {
    return icon.cacheKey() == CInfoPage::supportImage(true).cacheKey();
}

// A report is whole when it has every section in order, from the cursor library line to the
// qualifier usage line at its end.
void expectWholeReport(const std::string& report) {
    std::size_t at = 0;
    for (const char* part :
         {"Cursor Library is Not Loaded\r\n\r\nDriver Info\r\n", "\r\nODBC API Functions\r\n",
          "\r\nSQL Time/Date Functions\r\n", "\r\nSupported SQL\r\n", "\r\nData Types\r\n",
          "Convert() Conversions\r\n", "\r\nIdentifiers\r\n", "\r\nSpecial Characters:\r\n",
          "\r\nLimits\r\n", "\r\nTimestamp Diff Intervals:", "\r\nMiscellaneous\r\n",
          "\r\n    Need Long Data Length - ", "\r\n          Qualifier Usage - "}) {
        const std::size_t found = report.find(part, at);
        ASSERT_NE(found, std::string::npos) << part;
        at = found;
    }
    EXPECT_EQ(report.find("\r\n", at + 2), report.size() - 2);
}

class DriverInfoSheet : public testing::Test {
protected:
    DriverInfoSheet() { test::testApplication(); }

    // Saves the sheet's report twice to one file: both times the same, and returned.
    std::string saveTwice(CMyPropertySheet& sheet, const std::string& name) {
        const auto file = folder / (name + ".txt");
        prompts.fileNames = {QString::fromStdString((folder / name).string()),
                             QString::fromStdString(file.string())};
        EXPECT_TRUE(sheet.OnSaveAs());
        const std::string first = test::readWholeFile(file);
        EXPECT_TRUE(sheet.OnSaveAs());
        EXPECT_EQ(test::readWholeFile(file), first);
        return first;
    }

    test::ScriptedPrompts prompts;
    std::filesystem::path folder = test::workFolder("driverinfo-sheet");
};

TEST_F(DriverInfoSheet, SaveAsWritesEveryPageAsTheReportHasThem) {
    CMyPropertySheet sheet(test::openConnection(test::edgeCaseDriver()));
    EXPECT_EQ(sheet.windowTitle(), "ODBC Driver Info");
    EXPECT_EQ(sheet.cursorLibraryText(), "Cursor Library Not Loaded");
    ASSERT_EQ(sheet.tabs().count(), 8);
    EXPECT_EQ(sheet.tabs().tabText(7), "Misc. 2");

    // No tab was opened; the name is the driver's up to its first period.
    EXPECT_EQ(saveTwice(sheet, "edge"), test::expectedEdgeCaseReport());
    EXPECT_EQ(prompts.suggestions.front(), "libedge");

    const auto missing = folder / "missing" / "edge.txt";
    prompts.fileNames = {QString::fromStdString(missing.string())};
    EXPECT_FALSE(sheet.OnSaveAs());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0],
              "File Path Name: <" + missing.string() + "> All or part of the path is invalid.");
}

// The real file dialog: the name typed gets ".txt" before the dialog asks about replacing, so
// that it asks about the file that would be replaced.
TEST(DriverInfoSaveDialog, AsksBeforeReplacingTheTxtFileOfTheNameTyped) {
    test::testApplication();
    const auto folder = test::workFolder("driverinfo-save-dialog");
    std::ofstream(folder / "sqlite.txt") << "old";
    CMyPropertySheet sheet(test::openConnection(test::sqliteConnectString(folder / "s.db")));
    std::string question;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        // Answered "No": the dialog stays open and is then cancelled.
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                question = box->text().toStdString();
                box->button(QMessageBox::No)->click();
            }
        });
        dialog->selectFile(QString::fromStdString((folder / "sqlite").string()));
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
        dialog->reject();
    });
    EXPECT_FALSE(sheet.OnSaveAs());
    EXPECT_EQ(question, "sqlite.txt already exists.\nDo you want to replace it?");
    EXPECT_EQ(test::readWholeFile(folder / "sqlite.txt"), "old");
}

TEST_F(DriverInfoSheet, ADriverThatRefusesItsDataTypesLeavesNoFile) {
    // The statement of the second data types table cannot be had.
    CMyPropertySheet sheet(test::openConnection(test::edgeCaseDriver("FailAllocStmt=2")));
    const auto file = folder / "refused.txt";
    prompts.fileNames = {QString::fromStdString(file.string())};
    EXPECT_FALSE(sheet.OnSaveAs());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_NE(prompts.messages[0].find("Injected failure"), std::string::npos)
        << prompts.messages[0];
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(DriverInfoSheet, SqliteReportComesOutWholeAndTheSameTwice) {
    CMyPropertySheet sheet(test::openConnection(test::sqliteConnectString(folder / "s.db")));
    expectWholeReport(saveTwice(sheet, "sqlite"));
}

TEST_F(DriverInfoSheet, PostgresReportComesOutWholeAndTheSameTwice) {
    const std::string postgres = test::postgresConnectString();
    VELTRO_REQUIRE_POSTGRES_OR_SKIP(postgres);
    CMyPropertySheet sheet(test::openConnection(postgres));
    expectWholeReport(saveTwice(sheet, "postgres"));
}

TEST_F(DriverInfoSheet, PagesShowTheDriversAnswers) {
    CMyPropertySheet sheet(test::openConnection(test::edgeCaseDriver()));
    sheet.show();
    sheet.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
    for (int i = 0; i < CMyPropertySheet::pageCount; ++i) {
        sheet.tabs().setCurrentIndex(i);
        ASSERT_TRUE(sheet.page(i).windowExists()) << i;
    }
    EXPECT_EQ(fieldText(sheet.page(0), "Active Connections:"), "No Limit");
    EXPECT_EQ(fieldText(sheet.page(0), "Database Name:"), "main");
    EXPECT_EQ(fieldText(sheet.page(2), "Outer Join Support:"), "");

    auto& functions = static_cast<CFunctions&>(sheet.page(1));
    ASSERT_EQ(functions.apiList()->topLevelItemCount(), 56);
    EXPECT_EQ(functions.apiList()->topLevelItem(0)->text(0).toStdString(), "SQLAllocConnect");
    const QList<QTreeWidgetItem*> lenght =
        functions.sqlList()->findItems("Lenght()", Qt::MatchExactly);
    ASSERT_EQ(lenght.size(), 1);
    EXPECT_TRUE(hasCheckMark(lenght[0]->icon(0)));
    sheet.tabs().setCurrentIndex(1);
    QHeaderView* header = functions.sqlList()->header();
    // The pointer comes to the header before it clicks, as a user's does.
    const auto clickHeader = [header](int section) {
        const QPoint at(header->sectionViewportPosition(section) + 40, header->height() / 2);
        QTest::mouseMove(header->viewport(), at);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    };
    clickHeader(1);
    EXPECT_EQ(functions.sqlList()->topLevelItem(0)->text(1).toStdString(), "TimeDate");
    clickHeader(0);
    EXPECT_EQ(functions.sqlList()->topLevelItem(0)->text(0).toStdString(), "Abs()");

    auto& dataTypes = static_cast<CDataTypes&>(sheet.page(3));
    ASSERT_EQ(dataTypes.typesList()->count(), 6);
    dataTypes.typesList()->setCurrentRow(5);
    EXPECT_EQ(fieldText(dataTypes, "SQL Type:"), "SQL_WVARCHAR");
    dataTypes.typesList()->setCurrentRow(3);
    EXPECT_EQ(fieldText(dataTypes, "SQL Type:"), "<new or driver-specific>");
    EXPECT_EQ(listTexts(*dataTypes.conversionsList()), std::vector<std::string>{"<none>"});
    dataTypes.typesList()->setCurrentRow(4);
    EXPECT_EQ(fieldText(dataTypes, "SQL Type:"), "SQL_INTEGER");
    dataTypes.typesList()->setCurrentRow(2);
    EXPECT_EQ(fieldText(dataTypes, "Literal Prefix,Suffix:"), "<n/a>,<n/a>");

    const auto& identifiers = static_cast<CIdentifiers&>(sheet.page(4));
    EXPECT_EQ(identifiers.odbcKeywordList()->count(), 235);
    EXPECT_EQ(identifiers.driverKeywordList()->item(0)->text().toStdString(), "AAA");

    const auto& limits = static_cast<CLimits&>(sheet.page(5));
    ASSERT_EQ(limits.addIntervalList()->count(), 9);
    EXPECT_FALSE(hasCheckMark(limits.addIntervalList()->item(0)->icon()));
    EXPECT_EQ(listTexts(*limits.diffIntervalList()), std::vector<std::string>{"<n/a>"});
    EXPECT_TRUE(limits.diffIntervalList()->item(0)->icon().isNull());

    // Transactions are not supported, so no isolation level is checked; the check boxes
    // only show.
    const auto checkBox = [&sheet](int page, const QString& text) -> QCheckBox* {
        for (QCheckBox* box : sheet.page(page).findChildren<QCheckBox*>()) {
            if (box->text() == text) {
                return box;
            }
        }
        return nullptr;
    };
    ASSERT_NE(checkBox(6, "Serializable"), nullptr);
    EXPECT_FALSE(checkBox(6, "Serializable")->isChecked());
    QCheckBox* first = checkBox(7, "First");
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isChecked());
    QTest::mouseClick(first, Qt::LeftButton);
    EXPECT_TRUE(first->isChecked());
}

TEST_F(DriverInfoSheet, F10OpensTheSheetOnTheSessionButNotWhileABatchRuns) {
    MemorySettingsStore settings;
    CMainFrame frame(settings);
    frame.show();
    ASSERT_NE(
        frame.newConnection(std::nullopt, test::edgeCaseDriver("FetchDelay=20"), std::nullopt),
        nullptr);
    CChildFrame* session = frame.sessions().front();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    session->queryView().setFocus();

    std::string shownDbms;
    prompts.onDialog = [&shownDbms](QDialog& dialog) {
        CInfoPage& first = static_cast<CMyPropertySheet&>(dialog).page(0);
        first.ensureInitialised();
        shownDbms = fieldText(first, "DBMS Name:");
    };
    QTest::keyClick(&session->queryView(), Qt::Key_F10);
    EXPECT_EQ(prompts.dialogTitles, std::vector<std::string>{"ODBC Driver Info"});
    EXPECT_EQ(shownDbms, "Edge DBMS");

    session->queryView().setTextUtf8("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                     "FROM n WHERE i < 100000) SELECT i FROM n");
    session->executeQuery();
    ASSERT_TRUE(session->executionControl().batch().executing());
    QTest::keyClick(&session->queryView(), Qt::Key_F10);
    session->showDriverInfo();
    EXPECT_EQ(prompts.dialogTitles.size(), 1u);
    session->cancelQuery();
    QElapsedTimer waited;
    waited.start();
    while (session->executionControl().batch().executing() && waited.elapsed() < 30000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    EXPECT_FALSE(session->executionControl().batch().executing());
}

} // namespace
} // namespace veltro
