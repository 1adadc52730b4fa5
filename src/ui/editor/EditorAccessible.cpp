#include "editor/EditorAccessible.h"

#include "editor/CQryView.h"

namespace veltro {

namespace {

QAccessibleInterface* editorInterface(const QString& key, QObject* object) {
    auto* view = qobject_cast<CQryView*>(object);
    if (view == nullptr || key != QLatin1String(CQryView::staticMetaObject.className())) {
        return nullptr;
    }
    return new EditorAccessible(*view);
}

} // namespace

EditorAccessible::EditorAccessible(CQryView& editor)
    : QAccessibleWidget(&editor, QAccessible::EditableText) {}

void EditorAccessible::install() {
    // Asked before QScintilla's: the most derived class name is looked up first.
    static const bool installed = [] {
        QAccessible::installFactory(editorInterface);
        return true;
    }();
    (void)installed;
}

CQryView& EditorAccessible::editor() const {
    return *static_cast<CQryView*>(widget());
}

void EditorAccessible::caretMoved(CQryView& editor) {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleTextCursorEvent event(
        &editor, static_cast<int>(
                     editor.characterPosition(editor.SendScintilla(CQryView::SCI_GETCURRENTPOS))));
    QAccessible::updateAccessibility(&event);
}

void EditorAccessible::textModified(CQryView& editor, long position, int modification,
                                    const char* text, long length) {
    if (!QAccessible::isActive() || text == nullptr) {
        return;
    }
    const int offset = static_cast<int>(editor.characterPosition(position));
    const QString changed = QString::fromUtf8(text, length);
    if ((modification & CQryView::SC_MOD_INSERTTEXT) != 0) {
        QAccessibleTextInsertEvent event(&editor, offset, changed);
        QAccessible::updateAccessibility(&event);
    } else if ((modification & CQryView::SC_MOD_DELETETEXT) != 0) {
        QAccessibleTextRemoveEvent event(&editor, offset, changed);
        QAccessible::updateAccessibility(&event);
    }
}

void* EditorAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) {
        return static_cast<QAccessibleTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

void EditorAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = 0;
    if (selectionIndex == 0 && selectionCount() == 1) {
        *startOffset = static_cast<int>(editor().selectionStart());
        *endOffset = static_cast<int>(editor().selectionEnd());
    }
}

int EditorAccessible::selectionCount() const {
    return editor().hasSelectedText() ? 1 : 0;
}

void EditorAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void EditorAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0) {
        setCursorPosition(cursorPosition());
    }
}

void EditorAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0) {
        editor().setSelectionRange(static_cast<std::size_t>(startOffset),
                                   static_cast<std::size_t>(endOffset));
    }
}

int EditorAccessible::cursorPosition() const {
    return static_cast<int>(
        editor().characterPosition(editor().SendScintilla(CQryView::SCI_GETCURRENTPOS)));
}

void EditorAccessible::setCursorPosition(int position) {
    setSelection(0, position, position);
}

QString EditorAccessible::text(int startOffset, int endOffset) const {
    const long start = editor().bytePosition(static_cast<std::size_t>(startOffset));
    const long end = editor().bytePosition(static_cast<std::size_t>(endOffset));
    if (end <= start) {
        return {};
    }
    return QString::fromUtf8(editor().rawText().substr(static_cast<std::size_t>(start),
                                                       static_cast<std::size_t>(end - start)));
}

int EditorAccessible::characterCount() const {
    return static_cast<int>(
        editor().characterPosition(editor().SendScintilla(CQryView::SCI_GETLENGTH)));
}

QRect EditorAccessible::characterRect(int offset) const {
    CQryView& view = editor();
    const long position = view.bytePosition(static_cast<std::size_t>(offset));
    const long next = view.SendScintilla(CQryView::SCI_POSITIONAFTER, position);
    const auto x =
        static_cast<int>(view.SendScintilla(CQryView::SCI_POINTXFROMPOSITION, 0UL, position));
    const auto y =
        static_cast<int>(view.SendScintilla(CQryView::SCI_POINTYFROMPOSITION, 0UL, position));
    const auto nextX =
        static_cast<int>(view.SendScintilla(CQryView::SCI_POINTXFROMPOSITION, 0UL, next));
    const auto height = static_cast<int>(view.SendScintilla(
        CQryView::SCI_TEXTHEIGHT, view.SendScintilla(CQryView::SCI_LINEFROMPOSITION, position)));
    const QPoint topLeft = view.viewport()->mapToGlobal(QPoint(x, y));
    return {topLeft, QSize(std::max(nextX - x, 1), height)};
}

int EditorAccessible::offsetAtPoint(const QPoint& point) const {
    CQryView& view = editor();
    const QPoint local = view.viewport()->mapFromGlobal(point);
    const long position = view.SendScintilla(CQryView::SCI_POSITIONFROMPOINTCLOSE,
                                             static_cast<unsigned long>(local.x()), local.y());
    return position < 0 ? -1 : static_cast<int>(view.characterPosition(position));
}

void EditorAccessible::scrollToSubstring(int startIndex, int endIndex) {
    CQryView& view = editor();
    view.SendScintilla(
        CQryView::SCI_SCROLLRANGE,
        static_cast<unsigned long>(view.bytePosition(static_cast<std::size_t>(endIndex))),
        view.bytePosition(static_cast<std::size_t>(startIndex)));
}

QString EditorAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    // Plain text: no attributes anywhere.
    *startOffset = 0;
    *endOffset = characterCount();
    (void)offset;
    return {};
}

} // namespace veltro
