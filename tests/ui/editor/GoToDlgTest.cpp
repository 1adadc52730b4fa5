#include "EditorTestSupport.h"
#include "ScriptedPrompts.h"

#include "editor/CGoToDlg.h"
#include "editor/CQryView.h"
#include "editor/GoToSession.h"
#include "settings/MemorySettingsStore.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace veltro {
namespace {

class FakeGoToSession : public GoToSession {
public:
    std::optional<int> shownGridRow() const override { return gridRow; }
    QWidget* activeTextPane() const override { return pane; }
    void setCaretText(const QString& text) override { caretText = text; }

    std::optional<int> gridRow;
    QWidget* pane = nullptr;
    QString caretText;
};

class GoToDlgTest : public ::testing::Test {
protected:
    GoToDlgTest()
        : view((test::editorApplication(), &owner), settings),
          dialog([this] { return sessionOpen ? &session : nullptr; }) {
        view.setTextUtf8("l1\nl2\nl3\nl4\nl5");
        session.pane = &view;
    }

    int caretLine() const { return view.selectionStartLine() + 1; }

    test::FakeQueryOwner owner;
    MemorySettingsStore settings;
    test::ScriptedPrompts prompts;
    CQryView view;
    FakeGoToSession session;
    bool sessionOpen = true;
    CGoToDlg dialog;
};

TEST_F(GoToDlgTest, ShowsTheCaretLineAndGoesToAnEnteredLine) {
    view.goToLine(3);
    dialog.refresh();
    EXPECT_EQ(dialog.lineEdit()->text(), "3");
    EXPECT_EQ(dialog.goToButton()->text(), "&Go To");
    EXPECT_FALSE(dialog.previousButton()->isEnabled());
    dialog.lineEdit()->setText(" 4 ");
    dialog.goTo();
    EXPECT_EQ(caretLine(), 4);
    EXPECT_EQ(session.caretText, "Ln 4, Col 1");
}

TEST_F(GoToDlgTest, ZeroGoesToTheFirstLineAndBeyondTheEndToTheLast) {
    view.goToLine(3);
    dialog.lineEdit()->setText("0");
    dialog.goTo();
    EXPECT_EQ(caretLine(), 1);
    EXPECT_EQ(dialog.lineEdit()->text(), "1");
    dialog.lineEdit()->setText("99");
    dialog.goTo();
    EXPECT_EQ(caretLine(), 5);
    EXPECT_EQ(dialog.lineEdit()->text(), "5");
}

TEST_F(GoToDlgTest, EmptyEditMovesLineByLineAndStopsAtTheFirstLine) {
    view.goToLine(2);
    dialog.lineEdit()->clear();
    EXPECT_EQ(dialog.goToButton()->text(), "&Next");
    EXPECT_TRUE(dialog.previousButton()->isEnabled());
    dialog.goTo();
    EXPECT_EQ(caretLine(), 3);
    dialog.previous();
    EXPECT_EQ(caretLine(), 2);
    dialog.previous();
    EXPECT_EQ(caretLine(), 1);
    // On the first line Previous stays there, and the edit then shows 1.
    dialog.previous();
    EXPECT_EQ(caretLine(), 1);
    EXPECT_EQ(dialog.lineEdit()->text(), "1");
    EXPECT_EQ(dialog.goToButton()->text(), "&Go To");
}

TEST_F(GoToDlgTest, NextOnTheLastLineStaysThere) {
    view.goToLine(5);
    dialog.lineEdit()->clear();
    dialog.goTo();
    EXPECT_EQ(caretLine(), 5);
    EXPECT_EQ(dialog.lineEdit()->text(), "5");
}

TEST_F(GoToDlgTest, GridOnShowIsOnlyReported) {
    session.gridRow = 7;
    view.goToLine(2);
    dialog.refresh();
    EXPECT_EQ(dialog.lineEdit()->text(), "7");
    EXPECT_FALSE(dialog.lineEdit()->isEnabled());
    EXPECT_FALSE(dialog.goToButton()->isEnabled());
    EXPECT_FALSE(dialog.previousButton()->isEnabled());
    dialog.goTo();
    dialog.previous();
    EXPECT_EQ(caretLine(), 2);
}

TEST_F(GoToDlgTest, WithoutASessionEverythingButCloseIsDisabled) {
    sessionOpen = false;
    dialog.refresh();
    EXPECT_TRUE(dialog.lineEdit()->text().isEmpty());
    EXPECT_FALSE(dialog.lineEdit()->isEnabled());
    EXPECT_FALSE(dialog.goToButton()->isEnabled());
    EXPECT_FALSE(dialog.previousButton()->isEnabled());
    EXPECT_TRUE(dialog.closeButton()->isEnabled());
}

TEST_F(GoToDlgTest, WorksOnThePlainTextOutputOfTheResultsPane) {
    QPlainTextEdit output;
    output.setPlainText("a\nb\nc");
    session.pane = &output;
    dialog.lineEdit()->setText("2");
    dialog.goTo();
    EXPECT_EQ(output.textCursor().blockNumber(), 1);
    EXPECT_EQ(session.caretText, "Ln 2, Col 1");
}

} // namespace
} // namespace veltro
