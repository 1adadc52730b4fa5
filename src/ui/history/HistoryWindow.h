#pragma once

#include "history/HistoryEntry.h"

#include <QDialog>
#include <QTimer>

#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace veltro {

class HistoryService;

// The query history, newest first: a search box (the words anywhere in the text, without
// regard to case), a data source filter, the chosen entry's whole text, and Open (into a
// new query window), Copy and Clear.
class HistoryWindow : public QDialog {
    Q_OBJECT
public:
    HistoryWindow(HistoryService& service, QWidget* parent = nullptr);

    // Asks the history anew for what the search box and the filter name.
    void refresh();

    QLineEdit* searchBox() const { return search; }
    QComboBox* sourceFilter() const { return sources; }
    QTreeWidget* list() const { return entries; }
    QPushButton* openButton() const { return open; }
    QPushButton* copyButton() const { return copy; }
    QPushButton* clearButton() const { return clear; }
    // The entry the list's current row shows.
    const HistoryEntry* currentEntry() const;

signals:
    void openRequested(const veltro::HistoryEntry& entry);
    // The list shows what the history answered.
    void listed();

private:
    void showFound(std::vector<HistoryEntry> found, std::vector<std::string> names);
    void updateButtons();

    HistoryService& history;
    std::vector<HistoryEntry> shown;
    QTimer typing;
    QLineEdit* search;
    QComboBox* sources;
    QTreeWidget* entries;
    QPlainTextEdit* preview;
    QPushButton* open;
    QPushButton* copy;
    QPushButton* clear;
};

} // namespace veltro
