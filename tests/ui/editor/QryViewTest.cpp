#include "EditorTestSupport.h"
#include "ScriptedPrompts.h"
#include "TestDatabases.h"

#include "editor/CFindReplaceDlg.h"
#include "editor/CQryView.h"
#include "editor/QueryFont.h"
#include "settings/MemorySettingsStore.h"

#include <Qsci/qscilexer.h>
#include <Qsci/qsciprinter.h>

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <memory>

namespace veltro {
namespace {

using Command = CQryView::Command;

class QryViewTest : public ::testing::Test {
protected:
    QryViewTest() { test::editorApplication(); }

    std::unique_ptr<CQryView> makeView() { return std::make_unique<CQryView>(&owner, settings); }

    static std::map<QString, bool> menuStates(QMenu& menu) {
        std::map<QString, bool> states;
        for (QAction* item : menu.actions()) {
            if (!item->isSeparator()) {
                states[item->text()] = item->isEnabled();
            }
        }
        return states;
    }

    test::FakeQueryOwner owner;
    MemorySettingsStore settings;
    test::ScriptedPrompts prompts;
};

TEST_F(QryViewTest, PositionsAreCharactersInTextWithMultiByteLetters) {
    auto view = makeView();
    const std::string text = "select 'äöü€' as x;\nselect 2";
    view->setTextUtf8(text);
    EXPECT_EQ(view->textUtf8(), text);
    view->setSelectionRange(8, 12);
    EXPECT_EQ(view->selectedTextUtf8(), "äöü€");
    EXPECT_EQ(view->selectionStart(), 8U);
    EXPECT_EQ(view->selectionEnd(), 12U);
    EXPECT_EQ(view->batchText(), "äöü€");
    view->setSelectionRange(21, 27);
    EXPECT_EQ(view->selectedTextUtf8(), "elect ");
    const CQryView::LineColumn caret = view->caretLineColumn();
    EXPECT_EQ(caret.line, 2);
    EXPECT_EQ(caret.column, 8);
    view->setSelectionRange(1000, 1000);
    EXPECT_EQ(view->selectionStart(), 28U);
}

// Assistive technology reads the editor in characters, on any line of a multi-line text.
TEST_F(QryViewTest, AccessibleTextCountsCharactersFromTheCaretsLine) {
    auto view = makeView();
    view->setTextUtf8("select 'äöü€';\r\nselect 2;\n'€' x");
    view->show();
    QAccessibleInterface* editor = QAccessible::queryAccessibleInterface(view.get());
    ASSERT_NE(editor, nullptr);
    QAccessibleTextInterface* text = editor->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->characterCount(), 31);
    EXPECT_EQ(text->text(8, 12), "äöü€");
    EXPECT_EQ(text->text(26, 31), "'€' x");
    view->setSelectionRange(27, 28);
    int start = 0;
    int end = 0;
    text->selection(0, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(27, 28));
    EXPECT_EQ(text->cursorPosition(), 28);
    text->setCursorPosition(16);
    EXPECT_EQ(view->selectedTextUtf8(), "");
    EXPECT_EQ(view->caretLineColumn().line, 2);
    text->setSelection(0, 13, 31);
    EXPECT_EQ(view->selectedTextUtf8(), ";\r\nselect 2;\n'€' x");
}

// QScintilla's own accessibility calls count characters from the start of the text on every
// edit; they reach the program's count through the line index, which must give the same
// answer at every byte position, in the middle of a letter too.
TEST_F(QryViewTest, CharacterCountsFromTheStartComeFromTheLineIndexAndAgree) {
    const auto mangled = "_ZNK17QsciScintillaBase13SendScintillaEjml";
    EXPECT_NE(dlsym(RTLD_DEFAULT, mangled), dlsym(RTLD_NEXT, mangled))
        << "the library's calls would not reach the program's count";
    auto view = makeView();
    const QByteArray text = "select 'äöü€';\r\nselect 2;\n'😀' x\n";
    view->setTextUtf8(text.toStdString());
    for (long position = 0; position <= text.size() + 2; ++position) {
        const long expected =
            view->SendScintilla(QsciScintillaBase::SCI_COUNTCHARACTERS, 1UL, position) +
            (position > 0 ? 1 : 0);
        EXPECT_EQ(view->SendScintilla(QsciScintillaBase::SCI_COUNTCHARACTERS, 0UL, position),
                  expected)
            << position;
    }
}

TEST_F(QryViewTest, TextWithNulsAndCrLfSurvivesTheEditor) {
    auto view = makeView();
    const std::string text("a\0b\r\nc", 6);
    view->setTextUtf8(text);
    EXPECT_EQ(view->textUtf8(), text);
}

TEST_F(QryViewTest, EmptyEditorGraysTheContextMenu) {
    auto view = makeView();
    QGuiApplication::clipboard()->setText("select 1");
    std::unique_ptr<QMenu> menu(view->createContextMenu(nullptr));
    auto states = menuStates(*menu);
    EXPECT_FALSE(states.at("&Execute"));
    EXPECT_FALSE(states.at("Clear A&ll"));
    EXPECT_FALSE(states.at("&Select All"));
    EXPECT_FALSE(states.at("Cu&t"));
    EXPECT_FALSE(states.at("&Copy"));
    EXPECT_FALSE(states.at("C&ancel Executing Query"));
    EXPECT_TRUE(states.at("&Paste"));
    EXPECT_TRUE(states.at("&Font..."));

    view->setTextUtf8("select 1");
    view->setSelectionRange(0, 6);
    menu.reset(view->createContextMenu(nullptr));
    states = menuStates(*menu);
    EXPECT_TRUE(states.at("&Execute"));
    EXPECT_TRUE(states.at("Cu&t"));
    EXPECT_TRUE(states.at("Clear A&ll"));

    owner.executing = true;
    menu.reset(view->createContextMenu(nullptr));
    states = menuStates(*menu);
    EXPECT_FALSE(states.at("&Execute"));
    EXPECT_TRUE(states.at("C&ancel Executing Query"));
}

TEST_F(QryViewTest, ExecuteIsForwardedOnlyWhenTheSessionAndTheTextAllowIt) {
    auto view = makeView();
    view->action(Command::execute)->trigger();
    EXPECT_EQ(owner.executed, 0); // empty text
    view->setTextUtf8("select 1");
    view->updateCommandStates();
    EXPECT_TRUE(view->action(Command::execute)->isEnabled());
    view->action(Command::execute)->trigger();
    EXPECT_EQ(owner.executed, 1);
    owner.connected = false;
    view->updateCommandStates();
    EXPECT_FALSE(view->action(Command::execute)->isEnabled());
    view->action(Command::execute)->trigger();
    EXPECT_EQ(owner.executed, 1);
}

TEST_F(QryViewTest, ShortcutsReachTheCommandsInsteadOfTheEditorsOwnKeys) {
    auto view = makeView();
    view->show();
    view->activateWindow();
    view->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    view->setTextUtf8("SELECT 1");
    view->setSelectionRange(0, 6);
    QTest::keyClick(view.get(), Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(view->textUtf8(), "select 1");
    view->setSelectionRange(0, 6);
    QTest::keyClick(view.get(), Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(view->textUtf8(), "SELECT 1");
    QTest::keyClick(view.get(), Qt::Key_F5);
    EXPECT_EQ(owner.executed, 1);
    owner.executing = true;
    QTest::keyClick(view.get(), Qt::Key_Pause, Qt::AltModifier);
    EXPECT_EQ(owner.cancelled, 1);
}

TEST_F(QryViewTest, TabifyAndUntabifyReplaceAndReselectTheSelection) {
    auto view = makeView();
    view->setTextUtf8("x         y");
    view->setSelectionRange(1, 10);
    view->tabifySelection();
    EXPECT_EQ(view->textUtf8(), "x\t\t y");
    EXPECT_EQ(view->selectionStart(), 1U);
    EXPECT_EQ(view->selectionEnd(), 4U);
    view->untabifySelection();
    EXPECT_EQ(view->textUtf8(), "x         y");
    EXPECT_EQ(view->selectionEnd(), 10U);
    // Nothing selected: nothing changes.
    view->setSelectionRange(3, 3);
    view->tabifySelection();
    EXPECT_EQ(view->textUtf8(), "x         y");
    EXPECT_FALSE(view->action(Command::tabify)->isEnabled());
}

TEST_F(QryViewTest, UppercaseOfALongSelectionMatchesAShortOne) {
    auto view = makeView();
    std::string text = "-- ";
    while (characterCount(text) < 60003) {
        text += "select é from t;\n";
    }
    view->setTextUtf8(text);
    view->setSelectionRange(3, 3 + 60000);
    view->makeUpperCase();
    const std::string upper = view->textUtf8();
    EXPECT_EQ(upper.substr(0, 22), "-- SELECT É FROM T;\nS");
    const std::size_t end = byteOffsetOfCharacter(upper, 3 + 60000);
    EXPECT_EQ(upper.substr(0, end), applyTextAid(TextAid::upperCase, text.substr(0, end)));
    EXPECT_EQ(upper.substr(end), text.substr(end));
    EXPECT_EQ(view->selectionStart(), 3U);
    EXPECT_EQ(view->selectionEnd(), 3U + 60000U);
}

TEST_F(QryViewTest, WordWrapIsReadFromAndStoredInTheSettings) {
    settings.writeInt("Query", "WrapWord", 1);
    auto view = makeView();
    EXPECT_TRUE(view->wrapWord());
    EXPECT_EQ(view->wrapMode(), QsciScintilla::WrapWord);
    EXPECT_TRUE(view->action(Command::wrapWord)->isChecked());
    view->action(Command::wrapWord)->trigger();
    EXPECT_EQ(view->wrapMode(), QsciScintilla::WrapNone);
    EXPECT_FALSE(view->action(Command::wrapWord)->isChecked());
    EXPECT_EQ(settings.readInt("Query", "WrapWord", -1), 0);
    EXPECT_EQ(view->action(Command::wrapWord)->text(), "&Wrap Word To Window\tF7");
}

TEST_F(QryViewTest, ChosenFontReachesEveryOpenEditorNewOnesAndTheSettings) {
    auto first = makeView();
    auto second = makeView();
    EXPECT_EQ(first->queryFont().pixelSize(), 15);
    EXPECT_EQ(first->queryFont().family(), "Courier");

    QFont chosen("DejaVu Sans Mono");
    chosen.setPixelSize(21);
    chosen.setWeight(QFont::Bold);
    prompts.font = chosen;
    first->setTextUtf8("select 1");
    first->setSelectionRange(2, 5);
    first->action(Command::font)->trigger();

    for (CQryView* view : {first.get(), second.get()}) {
        EXPECT_EQ(view->queryFont().pixelSize(), 21);
        EXPECT_EQ(view->queryFont().family(), "DejaVu Sans Mono");
        EXPECT_TRUE(view->queryFont().bold());
        // The styles get the same size in points, which is what QScintilla draws by.
        EXPECT_NEAR(view->lexer()->font(0).pointSizeF(), 21 * 72.0 / view->logicalDpiY(), 0.01);
    }
    EXPECT_EQ(first->selectionStart(), 2U);
    EXPECT_EQ(first->selectionEnd(), 5U);
    EXPECT_EQ(settings.readInt("Query\\Font", "Height", 0), -21);
    EXPECT_EQ(settings.readInt("Query\\Font", "Weight", 0), 700);
    auto later = makeView();
    EXPECT_EQ(later->queryFont().pixelSize(), 21);
    EXPECT_TRUE(later->queryFont().bold());
}

// The dialog opens on the font the editor shows, the face standing in for "Courier" at
// its size in points, so that OK without a change keeps it.
TEST_F(QryViewTest, FontDialogStartsFromTheFontOnShow) {
    auto view = makeView();
    view->chooseFont();
    ASSERT_EQ(prompts.initialFonts.size(), 1u);
    const QFont start = prompts.initialFonts[0];
    EXPECT_EQ(start.family(), QFontInfo(view->lexer()->font(0)).family());
    EXPECT_NEAR(start.pointSizeF(), 15 * 72.0 / view->logicalDpiY(), 0.01);
    QFontDialog dialog(start);
    EXPECT_EQ(dialog.currentFont().family(), start.family());
    EXPECT_FALSE(dialog.currentFont().italic());
    EXPECT_EQ(dialog.currentFont().weight(), view->queryFont().weight());
    EXPECT_NEAR(dialog.currentFont().pointSizeF(), start.pointSizeF(), 0.5);
}

// A text replacing a longer one, typed or pasted, is seen from the start of its lines.
TEST_F(QryViewTest, AShorterTextIsShownFromItsLineStarts) {
    auto view = makeView();
    view->resize(300, 200);
    view->show();
    const auto scrolledAcross = [&view] {
        QApplication::processEvents();
        return view->SendScintilla(QsciScintillaBase::SCI_GETXOFFSET);
    };
    view->setTextUtf8("select " + std::string(300, 'x'));
    view->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
    ASSERT_GT(scrolledAcross(), 0);
    view->setTextUtf8("select pg_sleep(30)");
    EXPECT_EQ(scrolledAcross(), 0);

    view->setTextUtf8("select " + std::string(300, 'x'));
    view->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
    ASSERT_GT(scrolledAcross(), 0);
    view->selectAll(true);
    QGuiApplication::clipboard()->setText("select 1\nselect 2");
    view->pastePlainText();
    EXPECT_EQ(scrolledAcross(), 0);
}

TEST_F(QryViewTest, CancelledFontChoiceChangesNothing) {
    auto view = makeView();
    prompts.font.reset();
    view->chooseFont();
    EXPECT_EQ(view->queryFont().pixelSize(), 15);
    EXPECT_FALSE(settings.contains("Query\\Font", "Height"));
}

TEST_F(QryViewTest, PasteTakesOnlyThePlainText) {
    auto view = makeView();
    auto* data = new QMimeData;
    data->setHtml("<b>bold</b>");
    data->setText("plain");
    QGuiApplication::clipboard()->setMimeData(data);
    view->setTextUtf8("x = ;");
    view->setSelectionRange(4, 4);
    view->action(Command::paste)->trigger();
    EXPECT_EQ(view->textUtf8(), "x = plain;");
    QGuiApplication::clipboard()->clear();
    view->updateCommandStates();
    EXPECT_FALSE(view->action(Command::paste)->isEnabled());
}

TEST_F(QryViewTest, ClearAllEmptiesTheText) {
    auto view = makeView();
    view->setTextUtf8("select 1");
    view->action(Command::clearAll)->trigger();
    EXPECT_TRUE(view->isEmpty());
    EXPECT_FALSE(view->action(Command::clearAll)->isEnabled());
}

TEST_F(QryViewTest, LandscapePrintingIsRefusedAndPortraitPrints) {
    auto view = makeView();
    view->setTextUtf8("select 1");
    const auto folder = test::workFolder("qryview_print");
    QsciPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString file = QString::fromStdString((folder / "q.pdf").string());
    printer.setOutputFileName(file);
    printer.setPageOrientation(QPageLayout::Landscape);
    EXPECT_FALSE(view->printOn(printer));
    ASSERT_EQ(prompts.messages.size(), 1U);
    EXPECT_EQ(prompts.messages[0],
              "Currently printing functionality is not supported for landscape mode. Please "
              "choose portrait mode and then try again.");
    EXPECT_FALSE(QFileInfo::exists(file));

    printer.setPageOrientation(QPageLayout::Portrait);
    EXPECT_TRUE(view->printOn(printer));
    EXPECT_GT(QFileInfo(file).size(), 0);
    const QMarginsF margins = printer.pageLayout().margins(QPageLayout::Inch);
    EXPECT_DOUBLE_EQ(margins.left(), 0.5);
    EXPECT_DOUBLE_EQ(margins.bottom(), 0.5);
}

TEST_F(QryViewTest, ReplaceAllReplacesEveryMatchOnceAsOneUndoStep) {
    auto view = makeView();
    view->setTextUtf8("select a from a where A = 'a'");
    view->showReplace();
    auto* dialog = view->findChild<CFindReplaceDlg*>();
    ASSERT_NE(dialog, nullptr);
    dialog->findEdit()->setText("a");
    dialog->replaceEdit()->setText("aa");
    dialog->wholeWordBox()->setChecked(true);
    dialog->matchCaseBox()->setChecked(true);
    EXPECT_EQ(dialog->replaceAll(), 3);
    EXPECT_EQ(view->textUtf8(), "select aa from aa where A = 'aa'");
    view->undo();
    EXPECT_EQ(view->textUtf8(), "select a from a where A = 'a'");
    dialog->findEdit()->setText("missing");
    EXPECT_FALSE(dialog->findNext());
    EXPECT_EQ(prompts.beeps, 1);
    dialog->close();
}

TEST_F(QryViewTest, FindNextMovesFromMatchToMatch) {
    auto view = makeView();
    view->setTextUtf8("ab ab ab");
    view->showFind();
    auto* dialog = view->findChild<CFindReplaceDlg*>();
    dialog->findEdit()->setText("ab");
    ASSERT_TRUE(dialog->findNext());
    EXPECT_EQ(view->selectionStart(), 0U);
    view->action(Command::findNext)->trigger();
    EXPECT_EQ(view->selectionStart(), 3U);
    dialog->close();
}

} // namespace
} // namespace veltro
