// The Configure sheet, and what its OK does to the sessions.
#include "SessionWindowFixture.h"

#include "odbc/OdbcConnection.h"
#include "options/CGeneralPage.h"
#include "options/COptionsSheet.h"
#include "options/CNewConnections.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace veltro {
namespace {

using test::waitFor;

constexpr const char* rowsetRange = "Please enter an integer between 1 and 349999.";

class ConfigureSheet : public test::SessionWindow {
protected:
    // A sheet on show, as the main frame opens it.
    std::unique_ptr<COptionsSheet> showSheet() {
        auto sheet = std::make_unique<COptionsSheet>("Configure", frame.get(), 0, settings);
        sheet->show();
        EXPECT_TRUE(waitFor([&] { return sheet->general().isVisible(); }));
        return sheet;
    }

    // Opens Configure from the main frame's menu and lets fill act on the sheet; OK
    // follows.
    void configure(const std::function<void(COptionsSheet&)>& fill) {
        QTimer::singleShot(0, [fill] {
            auto* sheet = qobject_cast<COptionsSheet*>(QApplication::activeModalWidget());
            ASSERT_NE(sheet, nullptr);
            fill(*sheet);
            sheet->accept();
            if (sheet->isVisible()) {
                sheet->reject();
            }
        });
        const QList<QAction*> file = topMenu("&File")->actions();
        const auto item = std::find_if(file.begin(), file.end(), [](QAction* action) {
            return action->text() == "&Configure...";
        });
        ASSERT_NE(item, file.end());
        (*item)->trigger();
    }

    int stored(const char* entry) { return settings.readInt("Configure", entry, -99); }
};

TEST_F(ConfigureSheet, OutOfRangeValuesLoadAsTheSheetShowsThemAndResetMakesOkPossible) {
    settings.writeInt("Configure", "QueryTimeOut", 100000);
    settings.writeInt("Configure", "CacheSize", 500000);
    settings.writeText("Configure", "ThreadPriority", " normal ");
    const auto sheet = showSheet();
    CGeneralPage& general = sheet->general();
    EXPECT_EQ(general.queryTimeoutBox()->text(), "0");
    EXPECT_EQ(general.rowsetSizeBox()->text(), "500000");
    EXPECT_FALSE(general.rowsetSizeBox()->isEnabled());
    EXPECT_EQ(general.priorityList()->currentText(), "Normal");

    sheet->accept();
    EXPECT_EQ(prompts.messages, std::vector<std::string>{rowsetRange});
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(stored("CacheSize"), 500000);

    general.resetButton()->click();
    EXPECT_EQ(general.rowsetSizeBox()->text(), "100");
    EXPECT_EQ(general.priorityList()->currentText(), "Lowest");
    sheet->accept();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(stored("QueryTimeOut"), 0);
    EXPECT_EQ(stored("CacheSize"), 100);
    EXPECT_EQ(settings.readText("Configure", "ThreadPriority", "?"), "Lowest");
    // The New Connections page was never shown: nothing of it is stored.
    EXPECT_FALSE(settings.contains("Configure", "LoginTimeOut"));
}

TEST_F(ConfigureSheet, AnUnknownPriorityLeavesNoSelectionAndOkStoresAnEmptyText) {
    settings.writeText("Configure", "ThreadPriority", "Realtime");
    const auto sheet = showSheet();
    EXPECT_EQ(sheet->general().priorityList()->currentIndex(), -1);
    sheet->accept();
    EXPECT_EQ(settings.readText("Configure", "ThreadPriority", "?"), "");
}

TEST_F(ConfigureSheet, ChoosingAPriorityButLowestAsksFirst) {
    const auto sheet = showSheet();
    QComboBox& list = *sheet->general().priorityList();
    for (const auto& [answer, kept] :
         {std::pair{PromptAnswer::no, "Lowest"}, {PromptAnswer::yes, "Highest"}}) {
        prompts.answers.push_back(answer);
        list.setCurrentIndex(list.findText("Highest"));
        emit list.activated(list.currentIndex());
        EXPECT_EQ(list.currentText(), kept);
    }
    EXPECT_EQ(prompts.messages,
              std::vector<std::string>(
                  2, "Warning: Changing the query execution thread priority class other than the "
                     "default (Lowest) may cause undesired results including system instability. "
                     "Are you sure you want to change the priority class?"));
}

TEST_F(ConfigureSheet, ABlankTimeoutBringsItsPageForwardWithTheFocusOnTheBox) {
    activateFrame();
    const auto sheet = showSheet();
    sheet->activateWindow();
    CGeneralPage& general = sheet->general();
    general.queryTimeoutBox()->setText("   ");
    sheet->setActivePage(&sheet->newConnections());
    sheet->accept();
    EXPECT_EQ(prompts.messages,
              std::vector<std::string>{
                  "<Query Timeout> is a required field. The default value is Zero."});
    EXPECT_EQ(sheet->activePage(), &general);
    EXPECT_TRUE(waitFor([&] { return general.queryTimeoutBox()->hasFocus(); }));
    EXPECT_FALSE(settings.contains("Configure", "QueryTimeOut"));
}

TEST_F(ConfigureSheet, OkStoresGeneralBeforeNewConnectionsIsChecked) {
    const auto sheet = showSheet();
    sheet->general().queryTimeoutBox()->setText("15");
    sheet->setActivePage(&sheet->newConnections());
    sheet->newConnections().valueBox()->clear();
    sheet->setActivePage(&sheet->general());
    sheet->accept();
    EXPECT_EQ(prompts.messages,
              std::vector<std::string>{
                  "<Login Timeout> is a required field. The default value is Zero."});
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->activePage(), &sheet->newConnections());
    EXPECT_EQ(stored("QueryTimeOut"), 15);
    EXPECT_FALSE(settings.contains("Configure", "LoginTimeOut"));

    sheet->newConnections().resetButton()->click();
    sheet->accept();
    EXPECT_EQ(stored("LoginTimeOut"), 0);
}

TEST_F(ConfigureSheet, AfterOkOpenSessionsTakeTheQueryTimeoutAndNewOnesTheLoginTimeout) {
    CChildFrame* session = open(test::testDriver("ExecDelay=3000"));
    ASSERT_NE(session, nullptr);
    prompts.answers.push_back(PromptAnswer::yes);
    configure([](COptionsSheet& sheet) {
        sheet.general().queryTimeoutBox()->setText("1");
        QComboBox& list = *sheet.general().priorityList();
        list.setCurrentIndex(list.findText("Below Normal"));
        emit list.activated(list.currentIndex());
        sheet.setActivePage(&sheet.newConnections());
        sheet.newConnections().valueBox()->setText("7");
    });
    EXPECT_EQ(session->session().queryTimeout, 1);
    EXPECT_EQ(session->session().threadPriority, -1);
    EXPECT_EQ(session->session().loginTimeout, 0);

    // The statement outlasts the new timeout: the driver ends it.
    execute(*session, "SELECT 1 AS a");
    EXPECT_EQ(session->paneText(0), "Query batch completed with errors");
    EXPECT_NE(session->executionControl().batch().messageBuffer.find("Query timeout expired"),
              std::string::npos)
        << session->executionControl().batch().messageBuffer;

    CChildFrame* later = open(test::testDriver());
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(later->session().loginTimeout, 7);
    EXPECT_EQ(later->session().connection->loginTimeout(), 7);
}

} // namespace
} // namespace veltro
