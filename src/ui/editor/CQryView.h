#pragma once

#include "editor/TextAids.h"

#include <Qsci/qsciscintilla.h>

#include <array>
#include <string>
#include <string_view>

class QAction;
class QMenu;
class QsciLexerSQL;
class QsciPrinter;

namespace veltro {

class CFindReplaceDlg;
class QueryViewOwner;
class SettingsStore;

// The query editor: the upper pane of a session window, a plain-text SQL editor. Every
// position it takes or gives is a character position; QScintilla's byte offsets stay inside.
class CQryView : public QsciScintilla {
    Q_OBJECT

public:
    enum class Command {
        execute,
        cancel,
        wrapWord,
        upperCase,
        lowerCase,
        tabify,
        untabify,
        clearAll,
        paste,
        font,
        cut,
        copy,
        selectAll,
        undo,
        redo,
        find,
        findNext,
        replace,
    };
    static constexpr std::size_t commandCount = static_cast<std::size_t>(Command::replace) + 1;

    struct LineColumn {
        int line = 1;   // 1-based
        int column = 1; // 1-based
    };

    // The settings store outlives the view; it holds "Query"/"WrapWord" and "Query\\Font".
    CQryView(QueryViewOwner* owner, SettingsStore& settings, QWidget* parent = nullptr);
    ~CQryView() override;

    // The whole text as UTF-8, every byte kept (also NULs).
    std::string textUtf8() const;
    void setTextUtf8(std::string_view text);
    void appendTextUtf8(std::string_view text);
    bool isEmpty() const;

    // The text as Scintilla holds it, valid until the next change.
    std::string_view rawText() const;
    // The bytes between two of Scintilla's byte positions, valid until the next change. Only
    // this range is made contiguous, so a read near the caret costs the same in a large text.
    std::string_view rawRange(std::size_t from, std::size_t to) const;
    // Between Scintilla's byte positions and character positions, counted from the line's
    // start: as quick at the end of a large text as at its top.
    long bytePosition(std::size_t characters) const;
    std::size_t characterPosition(long bytes) const;

    std::size_t selectionStart() const;
    std::size_t selectionEnd() const;
    void setSelectionRange(std::size_t start, std::size_t end);
    std::string selectedTextUtf8() const;
    // What a batch runs: the selection, or the whole text when nothing is selected.
    std::string batchText() const;

    // The caret pane's position: the line of the selection start, the column of its end.
    LineColumn caretLineColumn() const;
    int lineCount() const { return lines(); }
    // 0-based line of the selection start.
    int selectionStartLine() const;
    // Puts the caret on the first character of a 1-based line, scrolled into view.
    void goToLine(int line);

    QAction* action(Command command) const;
    bool wrapWord() const { return wrapping; }
    QFont queryFont() const { return currentFont; }
    // The font as the editor draws it, in a form the font dialog can show: the face that
    // stands in for the stored one, in points.
    QFont shownFont() const;

    // Keys that commands outside the editor use: QScintilla's own bindings of them go, so
    // that the keys reach those commands while the editor has the focus.
    void releaseScintillaKeys(const QList<QKeySequence>& keys);

    // The context menu with its items grayed as the current state says; the caller owns it.
    QMenu* createContextMenu(QWidget* parent);
    // Refusal of landscape pages, margins, wait cursor; false when nothing was printed.
    bool printOn(QsciPrinter& printer);

    // Sets the query font on every open editor, keeping each one's selection. New editors
    // read the stored font when they are made.
    static void applyQueryFontToAll(const QFont& font);

public slots:
    // Evaluates the enabling rules of the commands; also to be called by the session when
    // its own state (connected, executing) changes.
    void updateCommandStates();

    void toggleWrapWord();
    void makeUpperCase() { runTextAid(TextAid::upperCase); }
    void makeLowerCase() { runTextAid(TextAid::lowerCase); }
    void tabifySelection() { runTextAid(TextAid::tabify); }
    void untabifySelection() { runTextAid(TextAid::untabify); }
    void clearAllText();
    void pastePlainText();
    void chooseFont();
    void printQuery();
    void showFind();
    void showReplace();
    void findNextMatch();

protected:
    bool event(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    QByteArray fromMimeData(const QMimeData* source, bool& rectangular) const override;

private:
    void createActions();
    QAction* makeAction(Command command, const QString& text, const QList<QKeySequence>& keys);
    void applyFont(const QFont& font);
    void updateLineNumberWidth();
    void scrollToLineStarts();
    void runTextAid(TextAid aid);
    void onCaretMoved();
    bool canPastePlainText() const;
    bool hasSelection() const;
    CFindReplaceDlg* findDialog();

    QueryViewOwner* owner;
    SettingsStore& settings;
    QsciLexerSQL* sqlLexer;
    QFont currentFont;
    bool wrapping = false;
    std::array<QAction*, commandCount> actions{};
    CFindReplaceDlg* findReplace = nullptr;
};

} // namespace veltro
