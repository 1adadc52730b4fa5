#include "completion/NameCompleter.h"

#include "common/Utf8.h"
#include "completion/CompletionPopup.h"
#include "completion/SqlTokens.h"
#include "editor/CQryView.h"
#include "options/ConfigureOptions.h"
#include "session/Session.h"

#include <QAction>
#include <QKeyEvent>

namespace veltro {

namespace {

constexpr std::size_t autoOpenLength = 3;
// The text read around the caret: a statement longer than this, or a string or comment that
// began further back, is read in part, so that a key costs the same at the end of a large
// query as in a small one.
constexpr std::size_t readBefore = 64 * 1024;
constexpr std::size_t readAfter = 16 * 1024;

std::string tableKey(const CatalogName& table) {
    return table.schema + '\x1f' + table.name;
}

} // namespace

NameCompleter::NameCompleter(CQryView& editor, const SettingsStore& settings,
                             const Session& session, std::function<void(const std::string&)> report,
                             QObject* parent)
    : QObject(parent), editor(editor), settings(settings), report(std::move(report)),
      complete(new QAction("Complete &Name\tCtrl+Space", &editor)),
      refreshNames(new QAction("Refresh Na&mes", &editor)), popup(new CompletionPopup(editor)) {
    // The reader's thread hands each result to this object's thread by value. The reader
    // ends before this object does, and a call still queued then is dropped with the object.
    reader = std::make_unique<CatalogReader>(
        CatalogReader::Source{session.connectString, session.capabilities().isSqlServerFamily,
                              session.capabilities().isJetDriver, session.loginTimeout},
        [this](CatalogNames names) {
            QMetaObject::invokeMethod(
                this, [this, names = std::move(names)] { namesArrived(names); },
                Qt::QueuedConnection);
        },
        [this](CatalogColumns columns) {
            QMetaObject::invokeMethod(
                this, [this, columns = std::move(columns)] { columnsArrived(columns); },
                Qt::QueuedConnection);
        });

    complete->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Space));
    // Like the session's other commands, the key works wherever the focus is in the session.
    complete->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    complete->setStatusTip("List the names that complete the name at the caret");
    if (auto* window = qobject_cast<QWidget*>(parent)) {
        window->addAction(complete);
    }
    refreshNames->setStatusTip("Read the names of tables, columns and procedures again");
    connect(complete, &QAction::triggered, this, &NameCompleter::showList);
    connect(refreshNames, &QAction::triggered, this, &NameCompleter::refresh);

    connect(&editor, &QsciScintillaBase::SCN_CHARADDED, this, &NameCompleter::onCharAdded);
    connect(&editor, &QsciScintilla::textChanged, this, [this] { scheduleUpdate(false); });
    connect(&editor, &QsciScintilla::cursorPositionChanged, this,
            [this] { scheduleUpdate(false); });
    connect(popup, &CompletionPopup::chosen, this, &NameCompleter::onChosen);
    editor.installEventFilter(this);
}

NameCompleter::~NameCompleter() = default;

bool NameCompleter::autoOpens() const {
    return loadAutoComplete(settings);
}

bool NameCompleter::listShown() const {
    return popup->isVisible();
}

QStringList NameCompleter::shownEntries() const {
    return popup->entries();
}

bool NameCompleter::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &editor || !popup->isVisible()) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // The list's keys reach the list, not a command that happens to be bound to them.
        if (CompletionPopup::isListKey(*static_cast<QKeyEvent*>(event))) {
            event->accept();
            return true;
        }
        break;
    case QEvent::KeyPress:
        if (popup->handleKey(*static_cast<QKeyEvent*>(event))) {
            if (!popup->isVisible()) {
                listFrom.reset();
            }
            return true;
        }
        break;
    case QEvent::FocusOut:
        close();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool NameCompleter::mayHaveReachedOpeningLength() const {
    // A character takes at most four bytes; one more character tells how the name begins.
    constexpr std::size_t readBytes = 4 * (autoOpenLength + 1);
    const std::size_t caret = caretPosition();
    const std::string_view before =
        editor.rawRange(caret > readBytes ? caret - readBytes : 0, caret);
    std::size_t at = before.size();
    std::size_t characters = 0;
    bool allNameBytes = true;
    while (at > 0 && characters < autoOpenLength) {
        --at;
        allNameBytes = allNameBytes && continuesWord(before[at]);
        characters += startsCharacter(before[at]) ? 1 : 0;
    }
    if (characters < autoOpenLength) {
        return false;
    }
    const char previous = at > 0 ? before[at - 1] : ' ';
    // A quoted name counts every character after its opening quote, blanks included.
    return (allNameBytes && !continuesWord(previous)) || previous == '"' || previous == '[' ||
           previous == '`';
}

std::size_t NameCompleter::caretPosition() const {
    return static_cast<std::size_t>(editor.SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS));
}

CaretContext NameCompleter::contextAtCaret() const {
    // Only the bytes around the caret: the whole text would have the editor move its gap
    // from the caret to the end on every key, a copy of all that follows.
    const std::size_t caret = caretPosition();
    const std::size_t first = caret > readBefore ? caret - readBefore : 0;
    const std::string_view text = editor.rawRange(first, caret + readAfter);
    std::size_t from = 0;
    // From a line's start, so that a comment to the line's end is read whole; a line longer
    // than what is read is read from where the reading starts.
    if (const std::size_t lineEnd = text.find('\n'); first > 0 && lineEnd < caret - first) {
        from = lineEnd + 1;
    }
    CaretContext context = caretContext(text.substr(from), caret - first - from);
    context.replaceFrom += first + from;
    return context;
}

void NameCompleter::showList() {
    editor.setFocus();
    update(true);
}

void NameCompleter::onCharAdded(int character) {
    // A list already up for another name is closed by the text change before this opens.
    if (!autoOpens()) {
        return;
    }
    // Most keys end here, without reading the statement: neither a dot nor a name's third
    // character.
    if (character != '.' && !mayHaveReachedOpeningLength()) {
        return;
    }
    // Decided on the text as it is now; the list itself opens once the key is done with.
    const CaretContext context = contextAtCaret();
    const bool opens =
        character == '.' ? context.afterDot : utf8Length(context.prefix) == autoOpenLength;
    if (opens && context.kind != CaretContext::Kind::none) {
        scheduleUpdate(true);
    }
}

void NameCompleter::scheduleUpdate(bool open) {
    if (!open && !listFrom) {
        return;
    }
    scheduledOpen = scheduledOpen || open;
    if (updateScheduled) {
        return;
    }
    updateScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            updateScheduled = false;
            const bool opens = scheduledOpen;
            scheduledOpen = false;
            update(opens);
        },
        Qt::QueuedConnection);
}

void NameCompleter::update(bool open) {
    const CaretContext context = contextAtCaret();
    if (!open && (!listFrom || *listFrom != context.replaceFrom)) {
        close();
        return;
    }
    if (!namesAsked) {
        namesAsked = true;
        reader->readNames(generation);
    }
    const NameCache::List list = cache.listFor(context);
    ask(list.needs);
    const bool waiting = list.needs.names || !list.needs.columnsOf.empty();
    if (list.entries.empty()) {
        close();
        if (waiting && context.kind != CaretContext::Kind::none) {
            listFrom = context.replaceFrom;
        }
        return;
    }
    QStringList shown;
    shown.reserve(static_cast<qsizetype>(list.entries.size()));
    for (const std::string& entry : list.entries) {
        shown.push_back(QString::fromStdString(entry));
    }
    listFrom = context.replaceFrom;
    popup->showEntries(shown, static_cast<long>(context.replaceFrom));
}

void NameCompleter::close() {
    listFrom.reset();
    popup->hide();
}

void NameCompleter::onChosen(const QString& text) {
    // The chosen name takes the place of the name at the caret, its opening quote included.
    const QByteArray name = text.toUtf8();
    const auto caret = static_cast<unsigned long>(caretPosition());
    const auto from = static_cast<unsigned long>(contextAtCaret().replaceFrom);
    editor.beginUndoAction();
    editor.SendScintilla(QsciScintillaBase::SCI_SETTARGETRANGE, from, caret);
    editor.SendScintilla(QsciScintillaBase::SCI_REPLACETARGET,
                         static_cast<unsigned long>(name.size()), name.constData());
    editor.SendScintilla(QsciScintillaBase::SCI_GOTOPOS,
                         from + static_cast<unsigned long>(name.size()));
    editor.endUndoAction();
    close();
}

void NameCompleter::ask(const NameCache::Needs& needs) {
    for (const CatalogName& table : needs.columnsOf) {
        if (columnsAsked.insert(tableKey(table)).second) {
            reader->readColumns(generation, table);
        }
    }
}

void NameCompleter::namesArrived(const CatalogNames& names) {
    if (names.generation != generation) {
        return;
    }
    cache.setNames(names.quoting, names.tables, names.procedures, names.keywords);
    columnsAsked.clear();
    reportOnce(names.errorText);
    if (listFrom) {
        update(false);
    }
}

void NameCompleter::columnsArrived(const CatalogColumns& columns) {
    if (columns.generation != generation) {
        return;
    }
    cache.setColumns(columns.table, columns.columns);
    reportOnce(columns.errorText);
    if (listFrom) {
        update(false);
    }
}

void NameCompleter::reportOnce(const std::string& errorText) {
    if (errorText.empty() || errorReported) {
        return;
    }
    errorReported = true;
    // The status bar has one line: the driver's first message.
    report("Names for completion could not be read: " +
           errorText.substr(0, errorText.find_first_of("\r\n")));
}

void NameCompleter::refresh() {
    ++generation;
    cache.clear();
    columnsAsked.clear();
    close();
    // Read at once where names were wanted before, so that the next list does not wait.
    if (namesAsked) {
        reader->readNames(generation);
    }
}

void NameCompleter::batchStarting(std::string_view batch) {
    schemaChanging = schemaChanging || changesSchema(batch);
}

void NameCompleter::batchEnded() {
    if (schemaChanging) {
        schemaChanging = false;
        refresh();
    }
}

} // namespace veltro
