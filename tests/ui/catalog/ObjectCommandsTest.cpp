// The object commands in a session window: the dialogs answered as a user would, the text
// appended to the editor, and the batch that runs it.
#include "CatalogTestSupport.h"
#include "RealDrivers.h"
#include "TestDriver.h"

#include "catalog/CProceduresDlg.h"
#include "catalog/CTablesDlg.h"
#include "editor/CQryView.h"
#include "odbc/CRecordsetEx.h"
#include "results/CResultView.h"

#include <QAction>
#include <QCheckBox>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <fstream>

namespace veltro {
namespace {

using test::run;

// Answers the dialog of that class, chooses the row with the name and presses OK.
template <typename Dialog>
test::WindowAnswers::Answer choose(const QString& name,
                                   const std::function<void(Dialog&)>& prepare = {}) {
    return [name, prepare](QWidget& window) {
        auto* dialog = qobject_cast<Dialog*>(&window);
        if (dialog == nullptr) {
            ADD_FAILURE() << "another window: " << window.windowTitle().toStdString();
            window.close();
            return;
        }
        if (prepare) {
            prepare(*dialog);
        }
        test::chooseRows(dialog->list(), {name});
        test::button(*dialog, "OK")->click();
    };
}

// A view with Output Text only; the boxes keep what the last OK stored.
test::WindowAnswers::Answer chooseView(const QString& name) {
    return choose<CTablesDlg>(name, [](CTablesDlg& dialog) {
        for (const char* box : {"views", "textOnly"}) {
            auto* check = dialog.findChild<QCheckBox*>(box);
            if (!check->isChecked()) {
                check->click();
            }
        }
    });
}

class ObjectCommands : public test::CatalogWindow {
protected:
    // Presses the key in the editor and waits for the batch it starts.
    void press(CChildFrame& session, Qt::Key key) {
        focusEditor(session);
        QTest::keyClick(&session.queryView(), key);
        ASSERT_TRUE(batchEnded(session));
        ASSERT_TRUE(test::waitFor([&] { return answers.answers.empty(); }));
    }

    static std::string paneText(CChildFrame& session) { return session.resultView().paneText(); }

    test::WindowAnswers answers;
};

class ViewSource : public ObjectCommands, public testing::WithParamInterface<test::RealDriver> {};

TEST_P(ViewSource, TablesShowsAViewsDefinition) {
    const std::string connectString = test::realDriverConnectString(GetParam(), "view-source");
    VELTRO_REQUIRE_POSTGRES_OR_SKIP(connectString);
    CChildFrame* session = open(connectString);
    ASSERT_NE(session, nullptr);
    run(*session, "DROP VIEW IF EXISTS ob_view");
    run(*session, "DROP TABLE IF EXISTS ob_table");
    run(*session, "CREATE TABLE ob_table (a INTEGER)");
    run(*session, "CREATE VIEW ob_view AS SELECT a FROM ob_table");

    answers.answers.push_back(chooseView("ob_view"));
    press(*session, Qt::Key_F8);
    const std::string text = paneText(*session);
    EXPECT_NE(text.find("VIEW"), std::string::npos) << text;
    EXPECT_NE(text.find("ob_view"), std::string::npos) << text;
    EXPECT_NE(text.find("FROM ob_table"), std::string::npos) << text;
    EXPECT_EQ(session->resultView().paneTitle(), "ob_view");
    EXPECT_EQ(session->paneText(0), "Query batch completed");
    EXPECT_EQ(session->paneText(2).toStdString(),
              "# of lines of text: " + std::to_string(session->resultView().lineCount()));
    EXPECT_FALSE(session->executionControl().batch().textMode);
    // The statement is what the editor shows after the two line feeds, selected.
    CQryView& editor = session->queryView();
    EXPECT_EQ(editor.selectionStart(), 2u);
    EXPECT_EQ(editor.selectedTextUtf8(), editor.textUtf8().substr(2));
}

VELTRO_ON_REAL_DRIVERS(ViewSource);

std::string sourceProfile() {
    const auto path = test::workFolder("object-commands") / "profile.ini";
    std::ofstream(path) << "[objects]\n"
                           "dbo.Recent Orders = CREATE VIEW [Recent Orders] AS\n"
                           "dbo.Recent Orders = SELECT 1\n"
                           "AddOrder = CREATE PROCEDURE AddOrder AS\n"
                           "AddOrder = SELECT 2\n"
                           "[catalog]\n"
                           "table = Sales|dbo|Recent Orders|VIEW|\n"
                           "procedure = Sales|dbo|AddOrder;1||2\n";
    return "Profile=" + path.string() + ";";
}

TEST_F(ObjectCommands, SourceTextStatementsRunAsObjectTextBatches) {
    struct Case {
        std::string dbms;
        QString listedView;
        std::string viewStatement;
        std::string viewTitle;
        std::string procedureStatement;
    };
    const std::vector<Case> cases = {
        {"Microsoft SQL Server", "[Recent Orders]", "sp_helptext [Recent Orders]",
         "[Recent Orders]", "sp_helptext AddOrder"},
        {"Oracle", "\"Recent Orders\"",
         "select TEXT from ALL_SOURCE where type = 'VIEW' and NAME = 'Recent Orders'",
         "Recent Orders",
         "select TEXT from ALL_SOURCE where type = 'PROCEDURE' and NAME = 'AddOrder'"},
    };
    for (const Case& c : cases) {
        CChildFrame* session = open(test::testDriver(sourceProfile() + "DBMS_NAME=" + c.dbms));
        ASSERT_NE(session, nullptr);
        CQryView& editor = session->queryView();
        editor.setTextUtf8("select 1");
        answers.answers.push_back(choose<CProceduresDlg>("AddOrder"));
        press(*session, Qt::Key_F9);
        EXPECT_EQ(editor.textUtf8(), "select 1\n\n" + c.procedureStatement);
        EXPECT_EQ(editor.selectedTextUtf8(), c.procedureStatement);
        EXPECT_EQ(paneText(*session), "CREATE PROCEDURE AddOrder ASSELECT 2");
        EXPECT_EQ(session->resultView().paneTitle(), "AddOrder");

        editor.setTextUtf8("");
        answers.answers.push_back(chooseView(c.listedView));
        press(*session, Qt::Key_F8);
        EXPECT_EQ(editor.textUtf8(), "\n\n" + c.viewStatement);
        EXPECT_EQ(paneText(*session), "CREATE VIEW [Recent Orders] ASSELECT 1");
        EXPECT_EQ(session->resultView().paneTitle(), c.viewTitle);
        EXPECT_EQ(session->paneText(0), "Query batch completed");
    }
}

// What the commands append takes the line ends the editor's text has.
TEST_F(ObjectCommands, AppendedTextKeepsTheDocumentsLineEnds) {
    CChildFrame* session =
        open(test::testDriver(sourceProfile() + "DBMS_NAME=Microsoft SQL Server"));
    ASSERT_NE(session, nullptr);
    CQryView& editor = session->queryView();
    for (const std::string lineEnd : {"\n", "\r\n"}) {
        const std::string text = "select 1" + lineEnd + "select 2";
        const std::string twoLines = lineEnd + lineEnd;
        editor.setTextUtf8(text);
        answers.answers.push_back(choose<CProceduresDlg>("AddOrder"));
        press(*session, Qt::Key_F9);
        EXPECT_EQ(editor.textUtf8(), text + twoLines + "sp_helptext AddOrder");

        editor.setTextUtf8(text);
        answers.answers.push_back(chooseView("[Recent Orders]"));
        press(*session, Qt::Key_F8);
        EXPECT_EQ(editor.textUtf8(), text + twoLines + "sp_helptext [Recent Orders]");
        EXPECT_EQ(editor.selectedTextUtf8(), "sp_helptext [Recent Orders]");
    }
}

TEST_F(ObjectCommands, JetViewNamesItsStoredQuery) {
    CChildFrame* session = open(test::testDriver("Info.6=ODBCJT32.DLL"));
    ASSERT_NE(session, nullptr);
    run(*session, "CREATE TABLE t (a INTEGER)");
    run(*session, "CREATE VIEW v AS SELECT a FROM t");
    answers.answers.push_back(chooseView("[v]"));
    press(*session, Qt::Key_F8);
    EXPECT_EQ(session->queryView().textUtf8(), "\n\nv // CDaoQueryDef::GetSQL()");
    EXPECT_EQ(session->resultView().paneTitle(), "v");
    EXPECT_EQ(session->executionControl().batch().messageBuffer,
              "The text of a stored Jet query cannot be read on this platform.");
}

TEST_F(ObjectCommands, PopupOffersBothAndUnsupportedTextReportsTheDriversError) {
    const auto path = test::workFolder("object-popup") / "profile.ini";
    std::ofstream(path) << "[catalog]\nprocedure = |dbo|p;1||2\n";
    CChildFrame* session =
        open(test::testDriver("DBMS_NAME=Visual FoxPro;Profile=" + path.string()));
    ASSERT_NE(session, nullptr);
    auto* objects = session->findChild<QToolBar*>()->actions().at(0);
    for (QAction* action : session->findChild<QToolBar*>()->actions()) {
        if (action->text() == "Objects") {
            objects = action;
        }
    }
    QWidget* objectsButton = session->findChild<QToolBar*>()->widgetForAction(objects);
    QStringList items;
    QPoint shownAt;
    answers.answers.push_back([&](QWidget& window) {
        auto& menu = static_cast<QMenu&>(window);
        shownAt = menu.pos();
        for (QAction* item : menu.actions()) {
            items << item->text() + "\t" + item->shortcut().toString();
        }
        menu.setActiveAction(menu.actions().at(1));
        QTest::keyClick(&menu, Qt::Key_Return);
    });
    answers.answers.push_back(choose<CProceduresDlg>("p"));
    objects->trigger();
    ASSERT_TRUE(batchEnded(*session));
    EXPECT_EQ(items, (QStringList{"&Tables...\tF8", "&Procedures...\tF9"}));
    EXPECT_EQ(shownAt, objectsButton->mapToGlobal(QPoint(0, objectsButton->height())));
    EXPECT_EQ(session->queryView().selectedTextUtf8(), "p // Procedure text not supported");
    EXPECT_EQ(session->paneText(0), "Query batch completed with errors");
    EXPECT_FALSE(session->executionControl().batch().textMode);
}

TEST_F(ObjectCommands, NothingHappensWhileABatchRuns) {
    CChildFrame* session = open(test::testDriver("ExecDelay=60000"));
    ASSERT_NE(session, nullptr);
    CQryView& editor = session->queryView();
    editor.setTextUtf8("SELECT 1");
    editor.action(CQryView::Command::execute)->trigger();
    ASSERT_TRUE(session->executionControl().batch().executing());
    focusEditor(*session);
    QTest::keyClick(&editor, Qt::Key_F8);
    QTest::keyClick(&editor, Qt::Key_F9);
    for (QAction* action : session->findChild<QToolBar*>()->actions()) {
        if (action->text() == "Objects") {
            action->trigger();
        }
    }
    QApplication::processEvents();
    EXPECT_EQ(answers.shown, 0);
    EXPECT_EQ(editor.textUtf8(), "SELECT 1");
    session->cancelQuery();
    ASSERT_TRUE(batchEnded(*session));
}

} // namespace
} // namespace veltro
