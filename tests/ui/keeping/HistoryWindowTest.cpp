#include "KeepingFixture.h"
#include "TestDriver.h"

#include "editor/CQryView.h"
#include "editor/CVeltroDoc.h"
#include "execution/BatchState.h"
#include "execution/ExecutionControl.h"
#include "history/HistoryService.h"
#include "history/HistoryWindow.h"
#include "options/COptionsSheet.h"
#include "options/NumberOptionPage.h"
#include "session/CChildFrame.h"
#include "session/Session.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include <fstream>
#include <iterator>

namespace veltro::test {
namespace {

class HistoryWindowTest : public Keeping {
protected:
    HistoryWindowTest() : Keeping(testing::UnitTest::GetInstance()->current_test_info()->name()) {
        attach(stateFolder());
    }

    std::vector<HistoryEntry> recorded() {
        std::vector<HistoryEntry> found;
        keeper->history().service().find(
            {"", "", 100}, [&found](std::vector<HistoryEntry> entries, std::vector<std::string>) {
                found = std::move(entries);
            });
        keeper->history().service().waitIdle();
        return found;
    }

    void run(CChildFrame& session, const std::string& sql) {
        session.queryView().setTextUtf8(sql);
        session.executeQuery();
        ASSERT_TRUE(waitFor([&] { return !session.executionControl().batch().executing(); }));
    }

    // The window's list after it answered.
    HistoryWindow& refreshed() {
        HistoryWindow& window = *keeper->history().window();
        QSignalSpy listed(&window, &HistoryWindow::listed);
        window.refresh();
        EXPECT_TRUE(waitFor([&] { return listed.count() > 0; }));
        return window;
    }

    std::vector<std::string> listedTexts(HistoryWindow& window) {
        std::vector<std::string> texts;
        for (int row = 0; row < window.list()->topLevelItemCount(); ++row) {
            texts.push_back(window.list()->topLevelItem(row)->text(6).toStdString());
        }
        return texts;
    }
};

TEST_F(HistoryWindowTest, BatchesAreRecordedWithTheirOutcomeAndNoPassword) {
    const std::string connect = testDriver("UID=me;PWD=secret;FetchDelay=20");
    CChildFrame* session = frame->newConnection(std::nullopt, connect, std::nullopt)
                               ? frame->sessions().back()
                               : nullptr;
    ASSERT_NE(session, nullptr);
    run(*session, "SELECT 1 AS a UNION ALL SELECT 2;\nSELECT 3 AS b");
    run(*session, "SELECT nope");
    session->queryView().setTextUtf8("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                     "FROM n WHERE i < 100000) SELECT i FROM n");
    session->executeQuery();
    ASSERT_TRUE(waitFor([&] { return session->executionControl().batch().gridCount() > 0; }));
    session->cancelQuery();
    ASSERT_TRUE(waitFor([&] { return !session->executionControl().batch().executing(); }));

    const std::vector<HistoryEntry> entries = recorded();
    ASSERT_EQ(entries.size(), 3u);
    const struct {
        BatchOutcome outcome;
        std::string text;
        int results;
    } expected[] = {
        {BatchOutcome::cancelled, session->queryView().textUtf8(), 1},
        {BatchOutcome::completedWithErrors, "SELECT nope", 0},
        {BatchOutcome::completed, "SELECT 1 AS a UNION ALL SELECT 2;\nSELECT 3 AS b", 2},
    };
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].outcome, expected[i].outcome);
        EXPECT_EQ(entries[i].text, expected[i].text);
        EXPECT_EQ(entries[i].results, expected[i].results);
        EXPECT_EQ(entries[i].dataSource, "Driver={Veltro Test};UID=me;FetchDelay=20");
        EXPECT_GE(entries[i].durationMs, 0);
    }
    EXPECT_EQ(entries[2].rows, 3);
    std::ifstream file(folder / "history.db", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EXPECT_NE(bytes.find("UID=me"), std::string::npos);
    EXPECT_EQ(bytes.find("secret"), std::string::npos);
}

TEST_F(HistoryWindowTest, TheWindowSearchesFiltersOpensCopiesAndClears) {
    for (const char* source : {"DBMS_NAME=Alpha", "DBMS_NAME=Beta"}) {
        ASSERT_NE(frame->newConnection(std::nullopt, testDriver(source), std::nullopt), nullptr);
        run(*frame->sessions().back(), std::string("SELECT 'Orders of ") + source + "' AS x");
        run(*frame->sessions().back(), "SELECT 42 AS answer");
    }
    // Its key, from the main window's menus.
    const QList<QAction*> actions = frame->findChildren<QAction*>();
    const auto historyAction = std::find_if(actions.begin(), actions.end(), [](QAction* action) {
        return action->shortcut() == QKeySequence("Ctrl+Shift+H");
    });
    ASSERT_NE(historyAction, actions.end());
    (*historyAction)->trigger();
    ASSERT_NE(keeper->history().window(), nullptr);
    EXPECT_TRUE(keeper->history().window()->isVisible());
    HistoryWindow& window = refreshed();
    EXPECT_EQ(listedTexts(window),
              (std::vector<std::string>{
                  "SELECT 42 AS answer", "SELECT 'Orders of DBMS_NAME=Beta' AS x",
                  "SELECT 42 AS answer", "SELECT 'Orders of DBMS_NAME=Alpha' AS x"}));

    const struct {
        const char* search;
        int source; // in the filter: 0 all, then the data sources in order
        std::vector<std::string> expected;
    } cases[] = {
        {"oRDERS",
         0,
         {"SELECT 'Orders of DBMS_NAME=Beta' AS x", "SELECT 'Orders of DBMS_NAME=Alpha' AS x"}},
        {"orders", 1, {"SELECT 'Orders of DBMS_NAME=Alpha' AS x"}},
        {"", 2, {"SELECT 42 AS answer", "SELECT 'Orders of DBMS_NAME=Beta' AS x"}},
        {"nothing like it", 0, {}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.search);
        window.searchBox()->setText(test.search);
        window.sourceFilter()->setCurrentIndex(test.source);
        EXPECT_EQ(listedTexts(refreshed()), test.expected);
    }

    window.searchBox()->setText("orders");
    window.sourceFilter()->setCurrentIndex(1);
    refreshed();
    QApplication::clipboard()->clear();
    window.copyButton()->click();
    EXPECT_TRUE(waitFor([] {
        return QApplication::clipboard()->text() == "SELECT 'Orders of DBMS_NAME=Alpha' AS x";
    }));
    window.openButton()->click();
    ASSERT_TRUE(waitFor([&] { return frame->sessionCount() == 3; }));
    CChildFrame* opened = frame->sessions().back();
    EXPECT_EQ(opened->queryView().textUtf8(), "SELECT 'Orders of DBMS_NAME=Alpha' AS x");
    EXPECT_EQ(opened->session().connectString, testDriver("DBMS_NAME=Alpha"));

    prompts.answers.push_back(PromptAnswer::yes);
    window.clearButton()->click();
    EXPECT_TRUE(waitFor([&] { return window.list()->topLevelItemCount() == 0; }));
    EXPECT_TRUE(recorded().empty());
}

TEST_F(HistoryWindowTest, ConfigureSetsHowManyEntriesAreKept) {
    COptionsSheet sheet("Configure", frame.get(), 2, settings);
    sheet.show();
    QLineEdit& entries = *sheet.history().valueBox();
    EXPECT_EQ(entries.text(), "10000");
    entries.setText("2");
    sheet.accept();
    EXPECT_EQ(settings.readInt("Configure", "HistoryEntries", 0), 2);

    ASSERT_NE(frame->newConnection(std::nullopt, testDriver(), std::nullopt), nullptr);
    for (const char* sql : {"SELECT 1", "SELECT 2", "SELECT 3"}) {
        run(*frame->sessions().back(), sql);
    }
    std::vector<std::string> texts;
    for (const HistoryEntry& entry : recorded()) {
        texts.push_back(entry.text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"SELECT 3", "SELECT 2"}));
}

TEST_F(HistoryWindowTest, TheListCutsALongTextBetweenCharactersAndTheRestIsReadWhenChosen) {
    ASSERT_NE(frame->newConnection(std::nullopt, testDriver("DBMS_NAME=Alpha"), std::nullopt),
              nullptr);
    // The emoji is the 200th character, and the 200th and 201st UTF-16 units.
    const std::string shown = "SELECT '" + std::string(191, 'a') + "\xF0\x9F\x98\x80";
    const std::string whole = shown + "' AS x\nFROM t";
    run(*frame->sessions().back(), whole);
    run(*frame->sessions().back(), "SELECT 1");
    keeper->history().showWindow();
    HistoryWindow& window = refreshed();
    EXPECT_EQ(listedTexts(window), (std::vector<std::string>{"SELECT 1", shown}));
    window.list()->setCurrentItem(window.list()->topLevelItem(1));
    EXPECT_TRUE(waitFor([&] { return window.textView()->toPlainText().toStdString() == whole; }));
    window.copyButton()->click();
    EXPECT_TRUE(waitFor([&] { return QApplication::clipboard()->text().toStdString() == whole; }));
}

} // namespace

} // namespace veltro::test
