#include "editor/CGoToDlg.h"

#include "editor/GoToSession.h"

#include <Qsci/qsciscintilla.h>

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

namespace veltro {

namespace {

// The line arithmetic over either kind of text pane a session shows.
class TextPane {
public:
    explicit TextPane(QWidget* widget)
        : scintilla(qobject_cast<QsciScintilla*>(widget)),
          plain(qobject_cast<QPlainTextEdit*>(widget)) {}

    bool valid() const { return scintilla != nullptr || plain != nullptr; }

    int lineCount() const {
        return scintilla != nullptr ? scintilla->lines() : plain->document()->blockCount();
    }

    // 0-based line of the selection start.
    int currentLine() const {
        if (scintilla != nullptr) {
            const long start = scintilla->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART);
            return static_cast<int>(scintilla->SendScintilla(
                QsciScintillaBase::SCI_LINEFROMPOSITION, static_cast<unsigned long>(start)));
        }
        const QTextCursor cursor = plain->textCursor();
        return plain->document()->findBlock(cursor.selectionStart()).blockNumber();
    }

    // Caret on the first character of a 1-based line, scrolled into view.
    void moveTo(int line) {
        if (scintilla != nullptr) {
            scintilla->setCursorPosition(line - 1, 0);
            scintilla->ensureCursorVisible();
            return;
        }
        QTextCursor cursor(plain->document()->findBlockByNumber(line - 1));
        plain->setTextCursor(cursor);
        plain->ensureCursorVisible();
    }

    // 1-based line and column of the caret.
    std::pair<int, int> caret() const {
        if (scintilla != nullptr) {
            const long position = scintilla->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
            const long line = scintilla->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION,
                                                       static_cast<unsigned long>(position));
            const long lineStart = scintilla->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE,
                                                            static_cast<unsigned long>(line));
            const long column =
                scintilla->SendScintilla(QsciScintillaBase::SCI_COUNTCHARACTERS,
                                         static_cast<unsigned long>(lineStart), position);
            return {static_cast<int>(line) + 1, static_cast<int>(column) + 1};
        }
        const QTextCursor cursor = plain->textCursor();
        return {cursor.blockNumber() + 1, cursor.positionInBlock() + 1};
    }

private:
    QsciScintilla* scintilla;
    QPlainTextEdit* plain;
};

} // namespace

CGoToDlg::CGoToDlg(SessionFinder activeSession, QWidget* parent)
    : QDialog(parent), activeSession(std::move(activeSession)), lineField(new QLineEdit(this)),
      goButton(new QPushButton(QStringLiteral("&Go To"), this)),
      prevButton(new QPushButton(QStringLiteral("&Previous"), this)),
      closeBtn(new QPushButton(QStringLiteral("Close"), this)) {
    setWindowTitle(QStringLiteral("Go To"));
    setModal(false);
    auto* label = new QLabel(QStringLiteral("Line Number:"), this);
    label->setBuddy(lineField);
    goButton->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(goButton);
    buttons->addWidget(prevButton);
    buttons->addWidget(closeBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(lineField);
    layout->addLayout(buttons);

    connect(lineField, &QLineEdit::textChanged, this, &CGoToDlg::onLineChanged);
    connect(goButton, &QPushButton::clicked, this, &CGoToDlg::goTo);
    connect(prevButton, &QPushButton::clicked, this, &CGoToDlg::previous);
    connect(closeBtn, &QPushButton::clicked, this, &QDialog::hide);
    onLineChanged(lineField->text());
}

void CGoToDlg::showAndRefresh() {
    if (parentWidget() != nullptr) {
        adjustSize();
        const QPoint centre = parentWidget()->window()->geometry().center();
        QDialog::move(centre - rect().center());
    }
    show();
    raise();
    activateWindow();
    refresh();
}

void CGoToDlg::refresh() {
    GoToSession* session = activeSession ? activeSession() : nullptr;
    const TextPane pane(session != nullptr ? session->activeTextPane() : nullptr);
    const std::optional<int> gridRow =
        session != nullptr ? session->shownGridRow() : std::optional<int>();
    gridMode = false;
    if (session == nullptr || (!gridRow && !pane.valid())) {
        lineField->clear();
        lineField->setEnabled(false);
        goButton->setEnabled(false);
        prevButton->setEnabled(false);
        closeBtn->setFocus();
        return;
    }
    int shown = 0;
    if (gridRow) {
        gridMode = true;
        shown = *gridRow;
    } else {
        shown = pane.currentLine() + 1;
    }
    lineField->setEnabled(!gridMode);
    goButton->setEnabled(!gridMode);
    lineField->setText(QString::number(shown));
}

void CGoToDlg::onLineChanged(const QString& text) {
    nextMode = text.trimmed().isEmpty();
    prevButton->setEnabled(nextMode && !gridMode && lineField->isEnabled());
    goButton->setText(nextMode ? QStringLiteral("&Next") : QStringLiteral("&Go To"));
}

void CGoToDlg::goTo() {
    move(nextMode ? GoToMode::next : GoToMode::entered);
}

void CGoToDlg::previous() {
    move(GoToMode::previous);
}

void CGoToDlg::move(GoToMode mode) {
    GoToSession* session = activeSession ? activeSession() : nullptr;
    if (session == nullptr || gridMode) {
        return;
    }
    TextPane pane(session->activeTextPane());
    if (!pane.valid()) {
        return;
    }
    const int entered = parseLineNumber(lineField->text().trimmed().toStdString());
    const GoToTarget target =
        resolveGoToTarget(mode, entered, pane.currentLine(), pane.lineCount());
    if (target.editText) {
        lineField->setText(QString::fromStdString(*target.editText));
    }
    pane.moveTo(target.line);
    const auto [line, column] = pane.caret();
    session->setCaretText(QString::fromStdString(caretPaneText(line, column)));
    lineField->setFocus();
}

void CGoToDlg::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        refresh();
        if (gridMode) {
            closeBtn->setFocus();
        } else {
            lineField->setFocus();
        }
    }
}

} // namespace veltro
