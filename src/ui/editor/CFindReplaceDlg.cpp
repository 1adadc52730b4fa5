#include "editor/CFindReplaceDlg.h"

#include "app/PromptService.h"

#include <Qsci/qsciscintilla.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace veltro {

CFindReplaceDlg::CFindReplaceDlg(QsciScintilla* editor)
    : QDialog(editor), editor(editor), findField(new QLineEdit(this)),
      replaceLabel(new QLabel(QStringLiteral("Re&place with:"), this)),
      replaceField(new QLineEdit(this)),
      matchCase(new QCheckBox(QStringLiteral("Match &case"), this)),
      wholeWord(new QCheckBox(QStringLiteral("Match &whole word only"), this)),
      replaceButton(new QPushButton(QStringLiteral("&Replace"), this)),
      replaceAllButton(new QPushButton(QStringLiteral("Replace &All"), this)) {
    setModal(false);
    auto* findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    findLabel->setBuddy(findField);
    replaceLabel->setBuddy(replaceField);
    auto* findButton = new QPushButton(QStringLiteral("&Find Next"), this);
    findButton->setDefault(true);
    auto* closeButton = new QPushButton(QStringLiteral("Close"), this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(findLabel, 0, 0);
    layout->addWidget(findField, 0, 1);
    layout->addWidget(findButton, 0, 2);
    layout->addWidget(replaceLabel, 1, 0);
    layout->addWidget(replaceField, 1, 1);
    layout->addWidget(replaceButton, 1, 2);
    layout->addWidget(matchCase, 2, 1);
    layout->addWidget(replaceAllButton, 2, 2);
    layout->addWidget(wholeWord, 3, 1);
    layout->addWidget(closeButton, 3, 2);

    connect(findButton, &QPushButton::clicked, this, &CFindReplaceDlg::findNext);
    connect(replaceButton, &QPushButton::clicked, this, &CFindReplaceDlg::replaceCurrent);
    connect(replaceAllButton, &QPushButton::clicked, this, &CFindReplaceDlg::replaceAll);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::hide);
}

void CFindReplaceDlg::showFor(bool replacing, const QString& proposed) {
    setWindowTitle(replacing ? QStringLiteral("Replace") : QStringLiteral("Find"));
    replaceLabel->setVisible(replacing);
    replaceField->setVisible(replacing);
    replaceButton->setVisible(replacing);
    replaceAllButton->setVisible(replacing);
    // A selection over several lines is no search text.
    if (!proposed.isEmpty() && !proposed.contains(QLatin1Char('\n'))) {
        findField->setText(proposed);
    }
    show();
    raise();
    activateWindow();
    findField->setFocus();
    findField->selectAll();
}

QString CFindReplaceDlg::findText() const {
    return findField->text();
}

bool CFindReplaceDlg::findNext() {
    if (findText().isEmpty()) {
        return false;
    }
    // Searching starts after the current selection, so repeated presses move on.
    int line = 0;
    int index = 0;
    int lineTo = 0;
    int indexTo = 0;
    editor->getSelection(&line, &index, &lineTo, &indexTo);
    if (line < 0) {
        editor->getCursorPosition(&lineTo, &indexTo);
    }
    const bool found = editor->findFirst(findText(), false, matchCase->isChecked(),
                                         wholeWord->isChecked(), true, true, lineTo, indexTo);
    if (!found) {
        PromptService::current().beep();
    }
    return found;
}

bool CFindReplaceDlg::selectionMatches() const {
    const QString selected = editor->selectedText();
    return matchCase->isChecked() ? selected == findText()
                                  : selected.compare(findText(), Qt::CaseInsensitive) == 0;
}

void CFindReplaceDlg::replaceCurrent() {
    if (findText().isEmpty()) {
        return;
    }
    if (editor->hasSelectedText() && selectionMatches()) {
        editor->replaceSelectedText(replaceField->text());
    }
    findNext();
}

int CFindReplaceDlg::replaceAll() {
    if (findText().isEmpty()) {
        return 0;
    }
    int replaced = 0;
    editor->beginUndoAction();
    // No wrapping: the search ends at the end of the text, after the last replacement.
    bool found = editor->findFirst(findText(), false, matchCase->isChecked(),
                                   wholeWord->isChecked(), false, true, 0, 0);
    while (found) {
        editor->replace(replaceField->text());
        ++replaced;
        found = editor->findNext();
    }
    editor->endUndoAction();
    if (replaced == 0) {
        PromptService::current().beep();
    }
    return replaced;
}

} // namespace veltro
