// Names listed and inserted as a user types in a session window's query editor.
#include "../SessionWindowFixture.h"

#include "completion/NameCompleter.h"
#include "options/CGeneralPage.h"
#include "options/COptionsSheet.h"
#include "options/ConfigureOptions.h"

#include <QCheckBox>
#include <QPushButton>

#include <fstream>
#include <sstream>

namespace veltro {
namespace {

class NameCompletionWindow : public test::SessionWindow {
protected:
    NameCompleter& names(CChildFrame& session) { return *session.nameCompleter(); }

    // Types at the caret as a user does.
    void type(CChildFrame& session, const char* keys) {
        session.queryView().setFocus();
        QTest::keyClicks(&session.queryView(), keys);
    }

    bool waitForList(CChildFrame& session) {
        return test::waitFor([&] { return names(session).listShown(); });
    }

    // "select o." typed before the from clause lists the columns of the demo's orders.
    void expectOrdersColumnsAfterAliasDot(CChildFrame& session, const std::string& from) {
        CQryView& editor = session.queryView();
        editor.setTextUtf8("\n" + from);
        editor.setSelectionRange(0, 0);
        type(session, "select o.");
        ASSERT_TRUE(waitForList(session));
        EXPECT_EQ(names(session).shownEntries(),
                  QStringList({"customer_id", "order_id", "ordered_at", "status"}));
    }

    void pressCtrlSpace(CChildFrame& session) {
        QTest::keyClick(&session.queryView(), Qt::Key_Space, Qt::ControlModifier);
    }
};

TEST_F(NameCompletionWindow, AliasDotOnTheDemoDatabaseListsTheColumnsOfOrders) {
    CChildFrame* session = open(sqlite());
    ASSERT_NE(session, nullptr);
    std::ifstream file(VELTRO_DEMO_SCRIPT);
    std::stringstream script;
    script << file.rdbuf();
    execute(*session, script.str());
    expectOrdersColumnsAfterAliasDot(*session, "from orders o");
    CQryView& editor = session->queryView();

    // Typing filters without regard to case; Tab inserts.
    type(*session, "OR");
    ASSERT_TRUE(test::waitFor([&] { return names(*session).shownEntries().size() == 2; }));
    EXPECT_EQ(names(*session).shownEntries(), QStringList({"order_id", "ordered_at"}));
    QTest::keyClick(&editor, Qt::Key_Tab);
    EXPECT_EQ(editor.textUtf8(), "select o.order_id\nfrom orders o");
    EXPECT_FALSE(names(*session).listShown());

    // Three letters of a name open the list by themselves; Escape closes it, Enter inserts.
    type(*session, ", sta");
    ASSERT_TRUE(waitForList(*session));
    EXPECT_EQ(names(*session).shownEntries().front(), "status");
    QTest::keyClick(&editor, Qt::Key_Escape);
    EXPECT_FALSE(names(*session).listShown());
    // A list closed stays closed as the name goes on.
    type(*session, "t");
    QApplication::processEvents();
    EXPECT_FALSE(names(*session).listShown());
    pressCtrlSpace(*session);
    ASSERT_TRUE(waitForList(*session));
    QTest::keyClick(&editor, Qt::Key_Return);
    EXPECT_EQ(editor.textUtf8(), "select o.order_id, status\nfrom orders o");
}

TEST_F(NameCompletionWindow, AliasDotOnPostgresListsTheColumnsOfOrders) {
    const std::string connectString = test::postgresConnectString();
    VELTRO_REQUIRE_POSTGRES_OR_SKIP(connectString);
    CChildFrame* session = open(connectString);
    ASSERT_NE(session, nullptr);
    execute(*session, "drop schema if exists completion_demo cascade;"
                      "create schema completion_demo;"
                      "create table completion_demo.orders (order_id int, customer_id int,"
                      " ordered_at date, status varchar(12))");
    expectOrdersColumnsAfterAliasDot(*session, "from completion_demo.orders o");
}

TEST_F(NameCompletionWindow, NamesWithBlanksAreInsertedQuotedAndDdlRefreshesTheNames) {
    CChildFrame* session = open(sqlite());
    ASSERT_NE(session, nullptr);
    execute(*session, "create table \"order lines\" (line_no int, qty int)");
    CQryView& editor = session->queryView();
    editor.setTextUtf8("");
    type(*session, "select * from ord");
    ASSERT_TRUE(waitForList(*session));
    EXPECT_EQ(names(*session).shownEntries(), QStringList({"\"order lines\""}));
    QTest::keyClick(&editor, Qt::Key_Return);
    EXPECT_EQ(editor.textUtf8(), "select * from \"order lines\"");

    // The batch that creates a table has the names read again.
    execute(*session, "create table orders_archive (id int)");
    editor.setTextUtf8("");
    type(*session, "select * from ord");
    ASSERT_TRUE(test::waitFor([&] { return names(*session).shownEntries().size() == 2; }));
    EXPECT_EQ(names(*session).shownEntries(), QStringList({"\"order lines\"", "orders_archive"}));
}

TEST_F(NameCompletionWindow, AQuotedNameOpensTheListAtItsThirdCharacterBlanksIncluded) {
    CChildFrame* session = open(sqlite());
    ASSERT_NE(session, nullptr);
    execute(*session, "create table \"my table\" (id int, \"unit price\" int)");
    CQryView& editor = session->queryView();
    editor.setTextUtf8("select * from ");
    editor.setSelectionRange(14, 14);
    // Key by key, each one handled before the next, as a user types.
    for (const char* key : {"\"", "m", "y"}) {
        type(*session, key);
        QApplication::processEvents();
    }
    EXPECT_FALSE(names(*session).listShown());
    type(*session, " ");
    ASSERT_TRUE(waitForList(*session));
    EXPECT_EQ(names(*session).shownEntries(), QStringList({"\"my table\""}));
    QTest::keyClick(&editor, Qt::Key_Return);
    EXPECT_EQ(editor.textUtf8(), "select * from \"my table\"");

    editor.setTextUtf8("\nfrom \"my table\"");
    editor.setSelectionRange(0, 0);
    type(*session, "select \"my table\".");
    ASSERT_TRUE(waitForList(*session));
    EXPECT_EQ(names(*session).shownEntries(), QStringList({"\"unit price\"", "id"}));
}

TEST_F(NameCompletionWindow, OnALineLongerThanWhatIsReadTheChosenNameReplacesTheTypedOne) {
    CChildFrame* session = open(sqlite());
    ASSERT_NE(session, nullptr);
    execute(*session, "create table parts (part_no int, weight int)");
    CQryView& editor = session->queryView();
    const std::string head = "select " + std::string(70 * 1024, ' ') + "p.we";
    editor.setTextUtf8(head + " from parts p");
    editor.setSelectionRange(head.size(), head.size());
    editor.setFocus();
    pressCtrlSpace(*session);
    ASSERT_TRUE(waitForList(*session));
    EXPECT_EQ(names(*session).shownEntries(), QStringList({"weight"}));
    QTest::keyClick(&editor, Qt::Key_Return);
    EXPECT_EQ(editor.textUtf8(), head + "ight from parts p");
}

TEST_F(NameCompletionWindow, WithAutomaticOpeningOffOnlyCtrlSpaceOpensTheList) {
    settings.writeInt(optionsSection, autoCompleteEntry, 0);
    CChildFrame* session = open(sqlite());
    ASSERT_NE(session, nullptr);
    execute(*session, "create table parts (part_no int, weight int)");
    CQryView& editor = session->queryView();
    editor.setTextUtf8("");
    type(*session, "select p.");
    // The names are read on demand, so nothing is underway that could open a list later.
    QApplication::processEvents();
    EXPECT_FALSE(names(*session).listShown());
    type(*session, " from parts p");
    editor.setSelectionRange(9, 9);
    pressCtrlSpace(*session);
    ASSERT_TRUE(waitForList(*session));
    EXPECT_EQ(names(*session).shownEntries(), QStringList({"part_no", "weight"}));
}

TEST_F(NameCompletionWindow, TheConfigureSettingIsStoredOnOkAndResetTurnsItOn) {
    COptionsSheet sheet("Configure", frame.get(), 0, settings);
    sheet.show();
    ASSERT_TRUE(test::waitFor([&] { return sheet.general().isVisible(); }));
    QCheckBox& box = *sheet.general().autoCompleteBox();
    EXPECT_TRUE(box.isChecked());
    box.setChecked(false);
    sheet.accept();
    EXPECT_EQ(settings.readInt(optionsSection, autoCompleteEntry, -1), 0);

    COptionsSheet again("Configure", frame.get(), 0, settings);
    EXPECT_FALSE(again.general().autoCompleteBox()->isChecked());
    again.general().resetButton()->click();
    EXPECT_TRUE(again.general().autoCompleteBox()->isChecked());
}

TEST_F(NameCompletionWindow, ACatalogErrorShowsOnceInTheStatusBarAndKeywordsStillComplete) {
    CChildFrame* session =
        open(test::testDriver("FailCatalog=*;Error=42S02|208|Catalog is offline"));
    ASSERT_NE(session, nullptr);
    CQryView& editor = session->queryView();
    type(*session, "select * from ord");
    const std::string shown = "Names for completion could not be read: Catalog is offline";
    ASSERT_TRUE(test::waitFor([&] { return session->paneText(0).toStdString() == shown; }))
        << session->paneText(0).toStdString();
    EXPECT_FALSE(names(*session).listShown());

    // Read again, failing again: the status bar is not told twice.
    session->setPaneText(0, "Ready");
    names(*session).refreshAction()->trigger();
    ASSERT_FALSE(names(*session).namesRead());
    ASSERT_TRUE(test::waitFor([&] { return names(*session).namesRead(); }));
    editor.setTextUtf8("");
    type(*session, "sel");
    ASSERT_TRUE(waitForList(*session));
    EXPECT_EQ(names(*session).shownEntries().front(), "select");
    EXPECT_EQ(session->paneText(0), "Ready");
}

TEST_F(NameCompletionWindow, CompletesWhileALongBatchRunsOnTheSession) {
    const auto folder = test::workFolder("completion-long-batch");
    // Not of the SQL Server family, whose database box would run statements at connect time.
    const std::string connectString = test::testDriver("Database=" + (folder / "t.db").string());
    CChildFrame* session = open(connectString);
    ASSERT_NE(session, nullptr);
    execute(*session, "create table shipments (shipment_id int, carrier varchar(20))");
    // The session's next batch waits in the driver until it is cancelled.
    CChildFrame* slow = open(connectString + ";ExecDelay=60000");
    ASSERT_NE(slow, nullptr);
    CQryView& editor = slow->queryView();
    editor.setTextUtf8("select 1");
    editor.action(CQryView::Command::execute)->trigger();
    ASSERT_TRUE(slow->executionControl().batch().executing());
    editor.setTextUtf8("select s. from shipments s");
    editor.setSelectionRange(9, 9);
    pressCtrlSpace(*slow);
    ASSERT_TRUE(waitForList(*slow));
    EXPECT_EQ(names(*slow).shownEntries(), QStringList({"carrier", "shipment_id"}));
    EXPECT_TRUE(slow->executionControl().batch().executing());
    editor.action(CQryView::Command::cancel)->trigger();
    ASSERT_TRUE(test::waitFor([&] { return !slow->executionControl().batch().executing(); }));
}

} // namespace
} // namespace veltro
