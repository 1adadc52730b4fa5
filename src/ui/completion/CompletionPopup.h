#pragma once

#include <QListView>
#include <QStringList>

class QKeyEvent;
class QStringListModel;
class QsciScintilla;

namespace veltro {

// The list of names under the caret of a query editor. Unlike the editor's own list it draws
// only the rows on show, so that ten thousand names open as fast as ten. It never takes the
// focus: the editor keeps it, and hands the list the keys that move in it, choose and close.
class CompletionPopup : public QListView {
    Q_OBJECT
public:
    explicit CompletionPopup(QsciScintilla& editor);

    // Shows the entries, the first one current, below the text at the byte position (above
    // it where there is no room below).
    void showEntries(const QStringList& entries, long anchor);
    QStringList entries() const;

    // Whether the list moves, chooses or closes on the key.
    static bool isListKey(const QKeyEvent& event);
    // A key the editor received while the list is on show: true when the list used it.
    bool handleKey(const QKeyEvent& event);

signals:
    void chosen(const QString& text);

private:
    void place(long anchor, int rows);

    QsciScintilla& editor;
    QStringListModel* names;
};

} // namespace veltro
