#pragma once

#include "completion/CatalogReader.h"
#include "completion/NameCache.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

class QAction;

namespace veltro {

class CompletionPopup;
class CQryView;
class Session;
class SettingsStore;

// Completes names in one session's query editor: it asks the caret's context what is wanted,
// lists it from the session's name cache in the editor's own list, and has what the cache
// lacks read on the catalog reader's thread. A list the cache cannot fill yet opens when the
// names arrive, if the caret is still at the same name.
class NameCompleter : public QObject {
    Q_OBJECT
public:
    // report shows a text in the session's status bar.
    NameCompleter(CQryView& editor, const SettingsStore& settings, const Session& session,
                  std::function<void(const std::string&)> report, QObject* parent);
    ~NameCompleter() override;

    // "Complete Name" (Ctrl+Space) and "Refresh Names", for the session's menu.
    QAction* completeAction() const { return complete; }
    QAction* refreshAction() const { return refreshNames; }

    // The session is about to run this batch; after one that changed the catalog the names
    // are read again.
    void batchStarting(std::string_view batch);
    void batchEnded();

    void showList();
    void refresh();

    // Whether the catalog's names have come back from the reader since the last refresh,
    // read or failed.
    bool namesRead() const { return cache.hasNames(); }
    // Whether the list is on show; its entries.
    bool listShown() const;
    QStringList shownEntries() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onCharAdded(int character);
    void onChosen(const QString& text);
    std::size_t caretPosition() const;
    // Whether the name before the caret may be as long as the list opens at, read from the
    // few bytes before the caret: the context's prefix has the last word.
    bool mayHaveReachedOpeningLength() const;
    // The context at the caret, read from the text around it.
    CaretContext contextAtCaret() const;
    // Once the editor is done with the key or edit under way.
    void scheduleUpdate(bool open);
    // Lists the names wanted at the caret; with open, also where no list is up.
    void update(bool open);
    void close();
    void ask(const NameCache::Needs& needs);
    void namesArrived(const CatalogNames& names);
    void columnsArrived(const CatalogColumns& columns);
    void reportOnce(const std::string& errorText);
    bool autoOpens() const;

    CQryView& editor;
    const SettingsStore& settings;
    std::function<void(const std::string&)> report;
    NameCache cache;
    std::unique_ptr<CatalogReader> reader;
    std::uint64_t generation = 1;
    bool namesAsked = false;
    std::set<std::string> columnsAsked;
    bool errorReported = false;
    bool schemaChanging = false;
    // Where the name of the list on show, or of the list waiting for names, begins.
    std::optional<std::size_t> listFrom;
    bool updateScheduled = false;
    bool scheduledOpen = false;
    QAction* complete;
    QAction* refreshNames;
    CompletionPopup* popup;
};

} // namespace veltro
