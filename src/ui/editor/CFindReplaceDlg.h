#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QsciScintilla;

namespace veltro {

// The editor's modeless Find and Replace dialog; one per editor, kept once opened.
class CFindReplaceDlg : public QDialog {
    Q_OBJECT

public:
    explicit CFindReplaceDlg(QsciScintilla* editor);

    // Shows the dialog for finding only or for replacing, starting from a proposed text.
    void showFor(bool replacing, const QString& proposed);
    QString findText() const;

    QLineEdit* findEdit() const { return findField; }
    QLineEdit* replaceEdit() const { return replaceField; }
    QCheckBox* matchCaseBox() const { return matchCase; }
    QCheckBox* wholeWordBox() const { return wholeWord; }

public slots:
    // Each beeps when nothing (more) is found.
    bool findNext();
    void replaceCurrent();
    int replaceAll();

private:
    bool selectionMatches() const;

    QsciScintilla* editor;
    QLineEdit* findField;
    QLabel* replaceLabel;
    QLineEdit* replaceField;
    QCheckBox* matchCase;
    QCheckBox* wholeWord;
    QPushButton* replaceButton;
    QPushButton* replaceAllButton;
};

} // namespace veltro
