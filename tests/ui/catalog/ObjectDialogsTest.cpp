// The Tables and Procedures dialogs on real sessions: SQLite and PostgreSQL, and the test
// driver for the DBMSs and faults that the real drivers cannot play.
#include "CatalogTestSupport.h"
#include "RealDrivers.h"
#include "TestDriver.h"
#include "WindowAnswers.h"

#include "catalog/CProceduresDlg.h"
#include "catalog/CTablesDlg.h"
#include "odbc/CRecordsetEx.h"
#include "odbc/OdbcConnection.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>

#include <algorithm>
#include <fstream>

namespace veltro {
namespace {

using test::listRows;
using test::run;

bool listed(const QTreeWidget& list, const QString& name) {
    return !list.findItems(name, Qt::MatchExactly, 0).isEmpty();
}

std::vector<std::string> names(const QTreeWidget& list) {
    std::vector<std::string> column;
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        column.push_back(list.topLevelItem(i)->text(0).toStdString());
    }
    return column;
}

bool sortedNoCase(std::vector<std::string> texts, bool ascending) {
    for (std::string& text : texts) {
        std::transform(text.begin(), text.end(), text.begin(), ::tolower);
    }
    return ascending ? std::is_sorted(texts.begin(), texts.end())
                     : std::is_sorted(texts.rbegin(), texts.rend());
}

class DialogsOnRealDrivers : public test::CatalogWindow,
                             public testing::WithParamInterface<test::RealDriver> {
protected:
    void SetUp() override {
        if (GetParam() == test::RealDriver::postgres) {
            VELTRO_REQUIRE_POSTGRES_OR_SKIP(test::postgresConnectString());
        }
    }

    // A session on the test database, or on an empty one.
    CChildFrame* openDatabase(bool empty) {
        std::string connectString =
            test::realDriverConnectString(GetParam(), empty ? "dialogs-empty" : "dialogs");
        if (empty && GetParam() == test::RealDriver::postgres) {
            // The role may create nothing in this database.
            connectString.replace(connectString.find("veltro_test"), 11, "postgres");
        }
        return open(connectString);
    }
};

TEST_P(DialogsOnRealDrivers, SortingAndTypingFindRows) {
    CChildFrame* session = openDatabase(false);
    ASSERT_NE(session, nullptr);
    run(*session, "DROP VIEW IF EXISTS sort_v");
    for (const char* table : {"sort_b", "sort_a", "sort_c"}) {
        run(*session, std::string("DROP TABLE IF EXISTS ") + table);
        run(*session, std::string("CREATE TABLE ") + table + " (a INTEGER)");
    }
    run(*session, "CREATE VIEW sort_v AS SELECT a FROM sort_a");
    // Enough rows before them that they lie below the visible part of the list.
    for (int i = 0; i < 40; ++i) {
        const std::string table = "fill_" + std::to_string(i);
        run(*session, "DROP TABLE IF EXISTS " + table);
        run(*session, "CREATE TABLE " + table + " (a INTEGER)");
    }

    CTablesDlg dialog(*session);
    ASSERT_TRUE(dialog.start());
    // Shown, so that scrolling has a list of some height to scroll.
    dialog.show();
    CListCtrlEx& list = dialog.list();
    EXPECT_FALSE(listed(list, "sort_v"));
    dialog.findChild<QCheckBox*>("views")->click();
    EXPECT_TRUE(listed(list, "sort_v"));

    // One direction flag for all columns: descending, ascending, then descending by Type.
    emit list.header()->sectionClicked(0);
    EXPECT_TRUE(sortedNoCase(names(list), false));
    emit list.header()->sectionClicked(0);
    EXPECT_TRUE(sortedNoCase(names(list), true));
    emit list.header()->sectionClicked(1);
    EXPECT_EQ(list.topLevelItem(0)->text(1), "VIEW");

    dialog.findChild<QLineEdit*>("nameBox")->setText("SORT_");
    ASSERT_EQ(list.selectedItems().size(), 1);
    EXPECT_EQ(list.selectedItems().front()->text(0), "sort_v");
    emit list.header()->sectionClicked(0);
    const auto visible = [&list](const QString& name) {
        return list.viewport()->rect().intersects(
            list.visualItemRect(list.findItems(name, Qt::MatchExactly, 0).front()));
    };
    list.scrollToTop();
    EXPECT_FALSE(visible("sort_a"));
    dialog.findChild<QLineEdit*>("nameBox")->setText("Sort_");
    EXPECT_EQ(list.selectedItems().front()->text(0), "sort_a");
    EXPECT_TRUE(visible("sort_a"));
}

TEST_P(DialogsOnRealDrivers, OkGivesOneSelectPerChosenTableAndStoresTheBoxes) {
    CChildFrame* session = openDatabase(false);
    ASSERT_NE(session, nullptr);
    for (const char* table : {"t1", "t2"}) {
        run(*session, std::string("DROP TABLE IF EXISTS ") + table);
    }
    run(*session, "CREATE TABLE t1 (a INTEGER, b INTEGER)");
    run(*session, "CREATE TABLE t2 (x INTEGER)");

    CTablesDlg dialog(*session);
    ASSERT_TRUE(dialog.start());
    dialog.findChild<QCheckBox*>("systemTables")->click();
    // Several statements make one batch only on a driver with several result sets.
    const bool multiple = session->session().capabilities().supportsMultipleResults;
    EXPECT_EQ(dialog.list().selectionMode(),
              multiple ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    if (multiple) {
        test::chooseRows(dialog.list(), {"t2", "t1"});
    } else {
        test::chooseRows(dialog.list(), {"t1"});
    }
    test::button(dialog, "OK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.resultText(), multiple ? "\n\nSELECT a, b FROM t1;\n\nSELECT x FROM t2;"
                                            : "\n\nSELECT a, b FROM t1;");
    EXPECT_EQ(dialog.objectType(), "TABLE");
    EXPECT_EQ(settings.readInt("Tables", "System_Tables", 0), 1);
    EXPECT_EQ(settings.readInt("Tables", "Views", 1), 0);
    EXPECT_EQ(settings.readInt("Tables", "Text_Only", 1), 0);
}

TEST_P(DialogsOnRealDrivers, EmptyCatalogOffersOnlyClose) {
    CChildFrame* session = openDatabase(true);
    ASSERT_NE(session, nullptr);
    CTablesDlg dialog(*session);
    ASSERT_TRUE(dialog.start());
    EXPECT_EQ(dialog.list().topLevelItemCount(), 0);
    EXPECT_FALSE(test::button(dialog, "OK")->isEnabled());
    EXPECT_NE(test::button(dialog, "&Close"), nullptr);
}

VELTRO_ON_REAL_DRIVERS(DialogsOnRealDrivers);

class DialogsOnTestDriver : public test::CatalogWindow {
protected:
    std::string profile() {
        const auto path = test::workFolder("dialogs-profile") / "profile.ini";
        std::ofstream(path) << "[catalog]\n"
                               "procedure = Sales|dbo|AddOrder;1||2\n"
                               "procedure = Sales|acct|my proc;2||2\n"
                               "procedure = Sales|zed|Zap;1||2\n";
        return "Profile=" + path.string() + ";";
    }
};

TEST_F(DialogsOnTestDriver, MissingCatalogFunctionClosesTheDialog) {
    CChildFrame* session = open(test::testDriver("Missing=SQLTables,SQLProcedures"));
    ASSERT_NE(session, nullptr);
    EXPECT_FALSE(CTablesDlg(*session).start());
    EXPECT_FALSE(CProceduresDlg(*session).start());
    EXPECT_EQ(prompts.messages, (std::vector<std::string>{"<::SQLTables> not supported.",
                                                          "<::SQLProcedures> not supported."}));
}

TEST_F(DialogsOnTestDriver, ProceduresWithoutVersionBracketedWithBlanksExceptOnJet) {
    struct Case {
        std::string attributes;
        std::vector<std::string> rows;
    };
    const std::vector<Case> cases = {
        {"DBMS_NAME=Microsoft SQL Server", {"AddOrder|dbo", "[my proc]|acct", "Zap|zed"}},
        {"Info.6=ODBCJT32.DLL", {"AddOrder|dbo", "my proc|acct", "Zap|zed"}},
    };
    for (const Case& c : cases) {
        CChildFrame* session = open(test::testDriver(profile() + c.attributes));
        ASSERT_NE(session, nullptr);
        CProceduresDlg dialog(*session);
        ASSERT_TRUE(dialog.start());
        EXPECT_EQ(listRows(dialog.list()), c.rows) << c.attributes;
        // The row chosen before a sort is the one OK takes after it.
        test::chooseRows(dialog.list(),
                         {QString::fromStdString(c.rows[1].substr(0, c.rows[1].find('|')))});
        emit dialog.list().header()->sectionClicked(1);
        EXPECT_EQ(listRows(dialog.list()).front(), c.rows[2]);
        test::button(dialog, "OK")->click();
        EXPECT_EQ(dialog.objectName(), c.rows[1].substr(0, c.rows[1].find('|')));
        EXPECT_EQ(dialog.objectOwner(), "acct");
    }
}

TEST_F(DialogsOnTestDriver, EveryNameBracketedOnJet) {
    CChildFrame* session = open(test::testDriver("Info.6=ODBCJT32.DLL"));
    ASSERT_NE(session, nullptr);
    run(*session, "CREATE TABLE t1 (a INTEGER, \"b.c\" INTEGER)");
    CTablesDlg dialog(*session);
    ASSERT_TRUE(dialog.start());
    EXPECT_EQ(listRows(dialog.list()), std::vector<std::string>{"[t1]|TABLE|"});
    test::button(dialog, "OK")->click();
    EXPECT_EQ(dialog.resultText(), "\n\nSELECT [a], [b].[c] FROM [t1];");
}

// Typing right after the command goes to the name box; a quoted name is found by its
// letters.
TEST_F(DialogsOnTestDriver, TypingAfterTheCommandFindsQuotedNamesInTheNameBox) {
    const auto path = test::workFolder("dialogs-quoted") / "profile.ini";
    std::ofstream(path) << "[catalog]\n"
                           "table = Sales|public|Customers|TABLE|\n"
                           "table = Sales|public|Order Lines|TABLE|\n"
                           "table = Sales|public|orders|TABLE|\n";
    CChildFrame* session = open(test::testDriver("DBMS_NAME=PostgreSQL;Profile=" + path.string()));
    ASSERT_NE(session, nullptr);
    test::WindowAnswers answers;
    QWidget* focused = nullptr;
    QStringList found;
    answers.answers.push_back([&](QWidget& window) {
        auto& dialog = static_cast<CTablesDlg&>(window);
        focused = dialog.focusWidget();
        for (const char* typed : {"ord", "Orders", "\"Ord"}) {
            dialog.findChild<QLineEdit*>("nameBox")->clear();
            QTest::keyClicks(focused, typed);
            found << dialog.list().currentItem()->text(0);
        }
        dialog.reject();
    });
    focusEditor(*session);
    QTest::keyClick(&session->queryView(), Qt::Key_F8);
    ASSERT_TRUE(test::waitFor([&] { return answers.answers.empty(); }));
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(focused->objectName(), "nameBox");
    EXPECT_EQ(found, QStringList({"\"Order Lines\"", "orders", "\"Order Lines\""}));
}

TEST_F(DialogsOnTestDriver, NoProceduresOffersOnlyClose) {
    CChildFrame* session = open(test::testDriver());
    ASSERT_NE(session, nullptr);
    CProceduresDlg dialog(*session);
    ASSERT_TRUE(dialog.start());
    EXPECT_FALSE(test::button(dialog, "OK")->isEnabled());
    EXPECT_NE(test::button(dialog, "&Close"), nullptr);
}

} // namespace
} // namespace veltro
