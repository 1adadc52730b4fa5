#include "completion/CompletionPopup.h"

#include <Qsci/qsciscintilla.h>

#include <QKeyEvent>
#include <QScrollBar>
#include <QStringListModel>

#include <algorithm>

namespace veltro {

namespace {

constexpr int visibleRows = 12;
// The width follows the names measured among the first ones, between these bounds.
constexpr int measuredNames = 400;
constexpr int narrowest = 160;
constexpr int widest = 520;

} // namespace

CompletionPopup::CompletionPopup(QsciScintilla& editor)
    : QListView(editor.viewport()), editor(editor), names(new QStringListModel(this)) {
    setObjectName("nameCompletionList");
    setModel(names);
    setFocusPolicy(Qt::NoFocus);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::Box);
    hide();
    connect(this, &QListView::clicked, this,
            [this](const QModelIndex& index) { setCurrentIndex(index); });
    connect(this, &QListView::doubleClicked, this,
            [this](const QModelIndex& index) { emit chosen(index.data().toString()); });
}

QStringList CompletionPopup::entries() const {
    return names->stringList();
}

void CompletionPopup::showEntries(const QStringList& entries, long anchor) {
    setFont(editor.font());
    names->setStringList(entries);
    setCurrentIndex(names->index(0));
    place(anchor, static_cast<int>(std::min<qsizetype>(entries.size(), visibleRows)));
    show();
    raise();
}

void CompletionPopup::place(long anchor, int rows) {
    const auto position = static_cast<unsigned long>(anchor);
    const int x = static_cast<int>(
        editor.SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, position));
    const int y = static_cast<int>(
        editor.SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, position));
    const int line =
        static_cast<int>(editor.SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, position));
    const int lineHeight = static_cast<int>(
        editor.SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, static_cast<unsigned long>(line)));

    const QStringList& all = names->stringList();
    int textWidth = 0;
    for (qsizetype i = 0; i < std::min<qsizetype>(all.size(), measuredNames); ++i) {
        textWidth = std::max(textWidth, fontMetrics().horizontalAdvance(all[i]));
    }
    const int frame = 2 * frameWidth();
    const int width = std::clamp(textWidth + frame + 12 + verticalScrollBar()->sizeHint().width(),
                                 narrowest, widest);
    const int height = rows * std::max(sizeHintForRow(0), 1) + frame;

    const QWidget& area = *editor.viewport();
    int top = y + lineHeight;
    if (top + height > area.height() && y - height >= 0) {
        top = y - height;
    }
    const int left = std::max(0, std::min(x, area.width() - width));
    setGeometry(left, top, width, height);
}

bool CompletionPopup::isListKey(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return false;
    }
    switch (event.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Escape:
        return true;
    default:
        return false;
    }
}

bool CompletionPopup::handleKey(const QKeyEvent& event) {
    if (!isListKey(event)) {
        return false;
    }
    const int row = currentIndex().row();
    const int last = names->rowCount() - 1;
    const auto moveTo = [this, last](int target) {
        setCurrentIndex(names->index(std::clamp(target, 0, last)));
        return true;
    };
    switch (event.key()) {
    case Qt::Key_Up:
        return moveTo(row - 1);
    case Qt::Key_Down:
        return moveTo(row + 1);
    case Qt::Key_PageUp:
        return moveTo(row - visibleRows);
    case Qt::Key_PageDown:
        return moveTo(row + visibleRows);
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
        emit chosen(currentIndex().data().toString());
        return true;
    default:
        hide();
        return true;
    }
}

} // namespace veltro
