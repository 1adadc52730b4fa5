#pragma once

#include <QAccessibleWidget>

namespace veltro {

class CQryView;

// The query editor as assistive technology sees it: its text, caret and selection in
// character offsets. QScintilla's own interface counts every offset from the start of the
// text, so that each key at the end of a large query cost as much as reading all of it; this
// one counts from the caret's line, through the editor's line character index.
class EditorAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit EditorAccessible(CQryView& editor);

    // Makes the editors answer with this interface; once, before the first editor is shown.
    static void install();
    // What the editor tells assistive technology, when one listens.
    static void caretMoved(CQryView& editor);
    static void textModified(CQryView& editor, long position, int modification, const char* text,
                             long length);

    void* interface_cast(QAccessible::InterfaceType type) override;

    using QAccessibleWidget::text;
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    CQryView& editor() const;
};

} // namespace veltro
