#include "editor/CQryView.h"

#include "app/IconFactory.h"
#include "app/LogicalFontConversion.h"
#include "app/PrinterSetup.h"
#include "app/PromptService.h"
#include "app/WaitCursor.h"
#include "editor/CFindReplaceDlg.h"
#include "editor/EditorAccessible.h"
#include "editor/QueryFont.h"
#include "editor/QueryViewOwner.h"
#include "settings/SettingsStore.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qscilexersql.h>
#include <Qsci/qsciprinter.h>

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

#include <algorithm>
#include <vector>

namespace veltro {

namespace {

constexpr const char* querySection = "Query";
constexpr const char* wrapWordEntry = "WrapWord";
constexpr double printMarginInches = 0.5; // 720 twips

const QString landscapeRefusal =
    QStringLiteral("Currently printing functionality is not supported for "
                   "landscape mode. Please choose portrait mode and then try "
                   "again.");

std::vector<CQryView*>& openViews() {
    static std::vector<CQryView*> views;
    return views;
}

} // namespace

CQryView::CQryView(QueryViewOwner* owner, SettingsStore& settings, QWidget* parent)
    : QsciScintilla(parent), owner(owner), settings(settings), sqlLexer(new QsciLexerSQL(this)) {
    setUtf8(true);
    // Character positions are then found from the line, not counted from the text's start.
    SendScintilla(SCI_ALLOCATELINECHARACTERINDEX,
                  static_cast<unsigned long>(SC_LINECHARACTERINDEX_UTF32));
    EditorAccessible::install();
    setLexer(sqlLexer);
    setMarginType(0, NumberMargin);
    setMarginLineNumbers(0, true);
    setTabWidth(static_cast<int>(veltro::tabWidth));
    setIndentationsUseTabs(true);
    setBraceMatching(SloppyBraceMatch);

    wrapping = settings.readInt(querySection, wrapWordEntry, 0) != 0;
    setWrapMode(wrapping ? WrapWord : WrapNone);
    applyFont(readQueryFont(settings));

    createActions();
    connect(this, &QsciScintilla::selectionChanged, this, &CQryView::onCaretMoved);
    connect(this, &QsciScintilla::cursorPositionChanged, this, &CQryView::onCaretMoved);
    connect(this, &QsciScintilla::textChanged, this, &CQryView::updateCommandStates);
    connect(this, &QsciScintilla::linesChanged, this, &CQryView::updateLineNumberWidth);
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int modification, const char* text, int length) {
                EditorAccessible::textModified(*this, position, modification, text, length);
            });
    // Once the edit is complete, so that the caret stands where the edit leaves it.
    connect(this, &QsciScintilla::textChanged, this, &CQryView::scrollToLineStarts,
            Qt::QueuedConnection);
    // The horizontal scroll range follows the lines on show, from nothing.
    SendScintilla(SCI_SETSCROLLWIDTH, 1UL);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1UL);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &CQryView::updateCommandStates);
    openViews().push_back(this);
    updateCommandStates();
}

CQryView::~CQryView() {
    auto& views = openViews();
    views.erase(std::remove(views.begin(), views.end(), this), views.end());
}

void CQryView::createActions() {
    using K = QKeySequence;
    makeAction(Command::execute, QStringLiteral("&Execute\tF5"),
               {K(Qt::Key_F5), K(Qt::CTRL | Qt::Key_E), K(Qt::ALT | Qt::Key_X)});
    makeAction(Command::cancel, QStringLiteral("C&ancel Executing Query\tAlt+Break"),
               {K(Qt::ALT | Qt::Key_Pause)});
    makeAction(Command::wrapWord, QStringLiteral("&Wrap Word To Window\tF7"), {K(Qt::Key_F7)});
    makeAction(Command::upperCase, QStringLiteral("Make selection &Uppercase\tCtrl+Shift+U"),
               {K(Qt::CTRL | Qt::SHIFT | Qt::Key_U)});
    makeAction(Command::lowerCase, QStringLiteral("Make selection &Lowercase\tCtrl+U"),
               {K(Qt::CTRL | Qt::Key_U)});
    makeAction(Command::tabify, QStringLiteral("&Tabify Selection"), {});
    makeAction(Command::untabify, QStringLiteral("U&ntabify Selection"), {});
    makeAction(Command::clearAll, QStringLiteral("Clear A&ll"), {});
    makeAction(Command::paste, QStringLiteral("&Paste\tCtrl+V"), {K(Qt::CTRL | Qt::Key_V)});
    makeAction(Command::font, QStringLiteral("&Font..."), {});
    makeAction(Command::cut, QStringLiteral("Cu&t\tCtrl+X"), {K(Qt::CTRL | Qt::Key_X)});
    makeAction(Command::copy, QStringLiteral("&Copy\tCtrl+C"), {K(Qt::CTRL | Qt::Key_C)});
    makeAction(Command::selectAll, QStringLiteral("Select &All\tCtrl+A"),
               {K(Qt::CTRL | Qt::Key_A)});
    makeAction(Command::undo, QStringLiteral("&Undo\tCtrl+Z"), {K(Qt::CTRL | Qt::Key_Z)});
    makeAction(Command::redo, QStringLiteral("&Redo\tCtrl+Y"), {K(Qt::CTRL | Qt::Key_Y)});
    makeAction(Command::find, QStringLiteral("&Find...\tCtrl+F"), {K(Qt::CTRL | Qt::Key_F)});
    makeAction(Command::findNext, QStringLiteral("Find &Next\tF3"), {K(Qt::Key_F3)});
    makeAction(Command::replace, QStringLiteral("R&eplace...\tCtrl+H"), {K(Qt::CTRL | Qt::Key_H)});

    // The tool bar gives its own buttons their icons; these show in the menus.
    const QColor editing(0x45, 0x5a, 0x64);
    action(Command::undo)->setIcon(themedIcon(QStringLiteral("edit-undo"), "U", editing));
    action(Command::redo)->setIcon(themedIcon(QStringLiteral("edit-redo"), "R", editing));
    action(Command::selectAll)
        ->setIcon(themedIcon(QStringLiteral("edit-select-all"), "A", editing));
    action(Command::replace)
        ->setIcon(themedIcon(QStringLiteral("edit-find-replace"), "H", editing));
    action(Command::font)
        ->setIcon(themedIcon(QStringLiteral("preferences-desktop-font"), "F", editing));
    action(Command::wrapWord)->setCheckable(true);
    action(Command::wrapWord)->setChecked(wrapping);

    connect(action(Command::execute), &QAction::triggered, this, [this] {
        if (owner != nullptr && owner->canExecute() && !isEmpty()) {
            owner->executeQuery();
        }
    });
    connect(action(Command::cancel), &QAction::triggered, this, [this] {
        if (owner != nullptr && owner->canCancel()) {
            owner->cancelQuery();
        }
    });
    connect(action(Command::wrapWord), &QAction::triggered, this, &CQryView::toggleWrapWord);
    connect(action(Command::upperCase), &QAction::triggered, this, &CQryView::makeUpperCase);
    connect(action(Command::lowerCase), &QAction::triggered, this, &CQryView::makeLowerCase);
    connect(action(Command::tabify), &QAction::triggered, this, &CQryView::tabifySelection);
    connect(action(Command::untabify), &QAction::triggered, this, &CQryView::untabifySelection);
    connect(action(Command::clearAll), &QAction::triggered, this, &CQryView::clearAllText);
    connect(action(Command::paste), &QAction::triggered, this, &CQryView::pastePlainText);
    connect(action(Command::font), &QAction::triggered, this, &CQryView::chooseFont);
    connect(action(Command::cut), &QAction::triggered, this, &QsciScintilla::cut);
    connect(action(Command::copy), &QAction::triggered, this, &QsciScintilla::copy);
    connect(action(Command::selectAll), &QAction::triggered, this, [this] { selectAll(true); });
    connect(action(Command::undo), &QAction::triggered, this, &QsciScintilla::undo);
    connect(action(Command::redo), &QAction::triggered, this, &QsciScintilla::redo);
    connect(action(Command::find), &QAction::triggered, this, &CQryView::showFind);
    connect(action(Command::findNext), &QAction::triggered, this, &CQryView::findNextMatch);
    connect(action(Command::replace), &QAction::triggered, this, &CQryView::showReplace);
}

QAction* CQryView::makeAction(Command command, const QString& text,
                              const QList<QKeySequence>& keys) {
    auto* created = new QAction(text, this);
    created->setShortcuts(keys);
    // Active while the editor (or a menu showing the action) has the focus.
    created->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(created);
    releaseScintillaKeys(keys);
    actions[static_cast<std::size_t>(command)] = created;
    return created;
}

// QScintilla claims keys it has bindings for before any shortcut sees them (Ctrl+U is its
// own lowercase, Ctrl+T its line swap); the program's commands take those keys instead.
void CQryView::releaseScintillaKeys(const QList<QKeySequence>& keys) {
    for (const QKeySequence& key : keys) {
        const int combined = key[0].toCombined();
        while (QsciCommand* bound = standardCommands()->boundTo(combined)) {
            if (bound->key() == combined) {
                bound->setKey(0);
            } else {
                bound->setAlternateKey(0);
            }
        }
    }
}

QAction* CQryView::action(Command command) const {
    return actions[static_cast<std::size_t>(command)];
}

std::string_view CQryView::rawText() const {
    const auto length = static_cast<std::size_t>(SendScintilla(SCI_GETLENGTH));
    if (length == 0) {
        return {};
    }
    const auto* bytes = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    return std::string_view(bytes, length);
}

std::string_view CQryView::rawRange(std::size_t from, std::size_t to) const {
    const auto length = static_cast<std::size_t>(SendScintilla(SCI_GETLENGTH));
    to = std::min(to, length);
    if (from >= to) {
        return {};
    }
    const auto* bytes = reinterpret_cast<const char*>(SendScintilla(
        SCI_GETRANGEPOINTER, static_cast<unsigned long>(from), static_cast<long>(to - from)));
    return std::string_view(bytes, to - from);
}

std::string CQryView::textUtf8() const {
    return std::string(rawText());
}

void CQryView::setTextUtf8(std::string_view text) {
    SendScintilla(SCI_CLEARALL);
    // A new text measures its own width: the old one's scroll range goes.
    SendScintilla(SCI_SETSCROLLWIDTH, 1UL);
    SendScintilla(SCI_SETXOFFSET, 0UL);
    appendTextUtf8(text);
}

void CQryView::appendTextUtf8(std::string_view text) {
    // With an explicit length, so that NULs in the text survive.
    SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(text.size()), text.data());
}

bool CQryView::isEmpty() const {
    return SendScintilla(SCI_GETLENGTH) == 0;
}

long CQryView::bytePosition(std::size_t characters) const {
    const auto line = static_cast<unsigned long>(
        SendScintilla(SCI_LINEFROMINDEXPOSITION, static_cast<unsigned long>(characters),
                      SC_LINECHARACTERINDEX_UTF32));
    const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, line);
    const long intoLine =
        static_cast<long>(characters) -
        SendScintilla(SCI_INDEXPOSITIONFROMLINE, line, SC_LINECHARACTERINDEX_UTF32);
    if (intoLine <= 0) {
        return lineStart;
    }
    // Beyond the end SCI_POSITIONRELATIVE answers 0; the end is meant.
    const long position =
        SendScintilla(SCI_POSITIONRELATIVE, static_cast<unsigned long>(lineStart), intoLine);
    return position == 0 ? SendScintilla(SCI_GETLENGTH) : position;
}

std::size_t CQryView::characterPosition(long bytes) const {
    const auto line = static_cast<unsigned long>(
        SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(bytes)));
    const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, line);
    return static_cast<std::size_t>(
        SendScintilla(SCI_INDEXPOSITIONFROMLINE, line, SC_LINECHARACTERINDEX_UTF32) +
        SendScintilla(SCI_COUNTCHARACTERS, static_cast<unsigned long>(lineStart), bytes));
}

std::size_t CQryView::selectionStart() const {
    return characterPosition(SendScintilla(SCI_GETSELECTIONSTART));
}

std::size_t CQryView::selectionEnd() const {
    return characterPosition(SendScintilla(SCI_GETSELECTIONEND));
}

void CQryView::setSelectionRange(std::size_t start, std::size_t end) {
    SendScintilla(SCI_SETSEL, static_cast<unsigned long>(bytePosition(start)), bytePosition(end));
}

bool CQryView::hasSelection() const {
    return SendScintilla(SCI_GETSELECTIONSTART) != SendScintilla(SCI_GETSELECTIONEND);
}

std::string CQryView::selectedTextUtf8() const {
    const auto start = static_cast<std::size_t>(SendScintilla(SCI_GETSELECTIONSTART));
    const auto end = static_cast<std::size_t>(SendScintilla(SCI_GETSELECTIONEND));
    return std::string(rawText().substr(start, end - start));
}

std::string CQryView::batchText() const {
    return hasSelection() ? selectedTextUtf8() : textUtf8();
}

CQryView::LineColumn CQryView::caretLineColumn() const {
    const long start = SendScintilla(SCI_GETSELECTIONSTART);
    const long end = SendScintilla(SCI_GETSELECTIONEND);
    const long endLine = SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(end));
    const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(endLine));
    LineColumn position;
    position.line =
        static_cast<int>(SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(start))) +
        1;
    position.column = static_cast<int>(SendScintilla(SCI_COUNTCHARACTERS,
                                                     static_cast<unsigned long>(lineStart), end)) +
                      1;
    return position;
}

int CQryView::selectionStartLine() const {
    return static_cast<int>(SendScintilla(
        SCI_LINEFROMPOSITION, static_cast<unsigned long>(SendScintilla(SCI_GETSELECTIONSTART))));
}

void CQryView::goToLine(int line) {
    setCursorPosition(std::clamp(line, 1, lineCount()) - 1, 0);
    ensureCursorVisible();
}

void CQryView::updateCommandStates() {
    const bool selection = hasSelection();
    const bool text = !isEmpty();
    action(Command::execute)->setEnabled(owner != nullptr && owner->canExecute() && text);
    action(Command::cancel)->setEnabled(owner != nullptr && owner->canCancel());
    action(Command::wrapWord)->setChecked(wrapping);
    for (const Command command : {Command::upperCase, Command::lowerCase, Command::tabify,
                                  Command::untabify, Command::cut, Command::copy}) {
        action(command)->setEnabled(selection);
    }
    for (const Command command :
         {Command::clearAll, Command::selectAll, Command::find, Command::replace}) {
        action(command)->setEnabled(text);
    }
    action(Command::findNext)->setEnabled(text);
    action(Command::paste)->setEnabled(canPastePlainText());
    action(Command::undo)->setEnabled(isUndoAvailable());
    action(Command::redo)->setEnabled(isRedoAvailable());
}

void CQryView::onCaretMoved() {
    updateCommandStates();
    EditorAccessible::caretMoved(*this);
    if (owner != nullptr) {
        owner->caretMoved();
    }
}

void CQryView::toggleWrapWord() {
    wrapping = !wrapping;
    setWrapMode(wrapping ? WrapWord : WrapNone);
    settings.writeInt(querySection, wrapWordEntry, wrapping ? 1 : 0);
    action(Command::wrapWord)->setChecked(wrapping);
}

void CQryView::runTextAid(TextAid aid) {
    if (!hasSelection()) {
        return;
    }
    WaitCursor wait;
    const SelectionEdit edit = editSelection(aid, selectedTextUtf8(), selectionStart());
    // The text aids leave no undo record; collecting none while the buffer keeps older
    // records would let a later undo land on the wrong text, so the history goes too.
    SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
    SendScintilla(SCI_SETTARGETSTART,
                  static_cast<unsigned long>(SendScintilla(SCI_GETSELECTIONSTART)));
    SendScintilla(SCI_SETTARGETEND, static_cast<unsigned long>(SendScintilla(SCI_GETSELECTIONEND)));
    SendScintilla(SCI_REPLACETARGET, static_cast<uintptr_t>(edit.replacement.size()),
                  edit.replacement.data());
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_SETUNDOCOLLECTION, 1UL);
    setSelectionRange(edit.selectionStart, edit.selectionEnd);
    updateCommandStates();
}

void CQryView::clearAllText() {
    selectAll(true);
    removeSelectedText();
}

bool CQryView::canPastePlainText() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return !isReadOnly() && data != nullptr && data->hasText();
}

void CQryView::pastePlainText() {
    if (!canPastePlainText()) {
        return;
    }
    const QByteArray text = QGuiApplication::clipboard()->text().toUtf8();
    SendScintilla(SCI_BEGINUNDOACTION);
    SendScintilla(SCI_TARGETFROMSELECTION);
    SendScintilla(SCI_REPLACETARGET, static_cast<uintptr_t>(text.size()), text.constData());
    const long end = SendScintilla(SCI_GETTARGETEND);
    SendScintilla(SCI_SETSEL, static_cast<unsigned long>(end), end);
    SendScintilla(SCI_ENDUNDOACTION);
}

bool CQryView::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasText();
}

// Dropped data, too, arrives as plain text only.
QByteArray CQryView::fromMimeData(const QMimeData* source, bool& rectangular) const {
    rectangular = false;
    return source->text().toUtf8();
}

void CQryView::applyFont(const QFont& font) {
    currentFont = font;
    // QScintilla sizes its styles by point size and draws pixel-sized fonts tiny.
    QFont styleFont = font;
    if (font.pixelSize() > 0) {
        styleFont.setPointSizeF(font.pixelSize() * 72.0 / std::max(logicalDpiY(), 1));
    }
    sqlLexer->setDefaultFont(styleFont);
    sqlLexer->setFont(styleFont, -1);
    setFont(styleFont);
    setMarginsFont(styleFont);
    updateLineNumberWidth();
}

// Scintilla keeps its horizontal scroll position through any edit, so a shorter text
// could sit out of sight to the left. While the caret can be seen with the line starts,
// the line starts are shown.
void CQryView::scrollToLineStarts() {
    const long offset = SendScintilla(SCI_GETXOFFSET);
    if (offset == 0) {
        return;
    }
    const long caret = SendScintilla(SCI_GETCURRENTPOS);
    const long caretX =
        SendScintilla(SCI_POINTXFROMPOSITION, 0UL, caret) + offset; // with no scrolling
    const long caretRoom = QFontMetrics(sqlLexer->font(QsciLexerSQL::Default)).averageCharWidth();
    if (caretX + caretRoom < viewport()->width()) {
        SendScintilla(SCI_SETXOFFSET, 0UL);
    }
}

void CQryView::updateLineNumberWidth() {
    const QString digits = QString::number(std::max(lines(), 1));
    setMarginWidth(0, QString(digits.size() + 1, QLatin1Char('9')));
}

void CQryView::applyQueryFontToAll(const QFont& font) {
    for (CQryView* view : openViews()) {
        view->applyFont(font);
        view->update();
    }
}

QFont CQryView::shownFont() const {
    // The styles carry the point size QScintilla draws with.
    return drawnFont(sqlLexer->font(QsciLexerSQL::Default));
}

void CQryView::chooseFont() {
    const std::optional<QFont> chosen = PromptService::current().chooseFont(this, shownFont());
    if (!chosen) {
        return;
    }
    WaitCursor wait;
    applyQueryFontToAll(*chosen);
    writeQueryFont(settings, *chosen);
}

bool CQryView::printOn(QsciPrinter& printer) {
    if (printer.pageLayout().orientation() == QPageLayout::Landscape) {
        PromptService::current().message(this, landscapeRefusal, PromptButtons::ok,
                                         PromptIcon::warning);
        return false;
    }
    WaitCursor wait;
    printer.setPageMargins(
        QMarginsF(printMarginInches, printMarginInches, printMarginInches, printMarginInches),
        QPageLayout::Inch);
    return printer.printRange(this) != 0 || isEmpty();
}

void CQryView::printQuery() {
    QsciPrinter printer;
    applyPrinterSetup(printer);
    printer.setPageMargins(
        QMarginsF(printMarginInches, printMarginInches, printMarginInches, printMarginInches),
        QPageLayout::Inch);
    if (PromptService::current().choosePrinter(this, printer)) {
        printOn(printer);
    }
}

QMenu* CQryView::createContextMenu(QWidget* parent) {
    auto* menu = new QMenu(QStringLiteral("&SQL_View"), parent);
    const bool selection = hasSelection();
    const bool text = !isEmpty();
    const auto add = [menu](const QString& label, bool enabled, auto handler) {
        QAction* item = menu->addAction(label);
        item->setEnabled(enabled);
        QObject::connect(item, &QAction::triggered, menu, handler);
    };
    add(QStringLiteral("Cu&t"), selection, [this] { cut(); });
    add(QStringLiteral("&Copy"), selection, [this] { copy(); });
    add(QStringLiteral("&Paste"), canPastePlainText(), [this] { pastePlainText(); });
    menu->addSeparator();
    add(QStringLiteral("&Execute"), owner != nullptr && owner->canExecute() && text,
        [this] { owner->executeQuery(); });
    add(QStringLiteral("C&ancel Executing Query"), owner != nullptr && owner->canCancel(),
        [this] { owner->cancelQuery(); });
    menu->addSeparator();
    add(QStringLiteral("&Select All"), text, [this] { selectAll(true); });
    add(QStringLiteral("Clear A&ll"), text, [this] { clearAllText(); });
    menu->addSeparator();
    add(QStringLiteral("&Font..."), true, [this] { chooseFont(); });
    return menu;
}

bool CQryView::event(QEvent* event) {
    // A key may be a command's shortcut: its enabling must reflect the session's state
    // now (a batch may have started or ended since the last refresh).
    if (event->type() == QEvent::ShortcutOverride) {
        updateCommandStates();
    }
    return QsciScintilla::event(event);
}

void CQryView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createContextMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

CFindReplaceDlg* CQryView::findDialog() {
    if (findReplace == nullptr) {
        findReplace = new CFindReplaceDlg(this);
    }
    return findReplace;
}

void CQryView::showFind() {
    findDialog()->showFor(false, QString::fromStdString(selectedTextUtf8()));
}

void CQryView::showReplace() {
    findDialog()->showFor(true, QString::fromStdString(selectedTextUtf8()));
}

void CQryView::findNextMatch() {
    if (findReplace == nullptr || findReplace->findText().isEmpty()) {
        showFind();
        return;
    }
    findReplace->findNext();
}

} // namespace veltro
