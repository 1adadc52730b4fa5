#pragma once

#include "history/HistoryEntry.h"

#include <QDialog>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace veltro {

class HistoryService;

// The query history, newest first: a search box (its text as one piece anywhere in the
// query, without regard to the case of the letters A to Z), a data source filter, the
// chosen entry's whole text, and Open (into a new query window), Copy and Clear. The list
// holds the start of each text; the whole text of the chosen entry is read when needed.
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
    QPlainTextEdit* textView() const { return textPane; }
    // The entry the list's current row shows, with the start of its text.
    const HistoryEntry* currentEntry() const;

    // Characters of each text the list shows.
    static constexpr std::size_t previewCharacters = 200;

signals:
    void openRequested(const veltro::HistoryEntry& entry);
    // The list shows what the history answered.
    void listed();

private:
    void showFound(std::vector<HistoryEntry> found, std::vector<std::string> names);
    void updateButtons();
    // Reads the current entry's whole text, then calls use with the entry holding it.
    void withWholeText(std::function<void(const HistoryEntry&)> use);
    void showWholeText();

    HistoryService& history;
    std::vector<HistoryEntry> shown;
    QTimer typing;
    QLineEdit* search;
    QComboBox* sources;
    QTreeWidget* entries;
    QPlainTextEdit* textPane;
    QPushButton* open;
    QPushButton* copy;
    QPushButton* clear;
};

} // namespace veltro
