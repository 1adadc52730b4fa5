#pragma once

#include "history/HistoryWindow.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <string>

namespace veltro {

class CChildFrame;
class CMainFrame;
class HistoryService;
class SettingsStore;
struct HistoryEntry;

// Records every batch a session window runs in the query history, and shows the History
// window, whose Open puts an entry's text into a new query window on its data source.
class HistoryRecorder : public QObject {
    Q_OBJECT
public:
    HistoryRecorder(CMainFrame& frame, SettingsStore& settings, const std::string& path);
    ~HistoryRecorder() override;

    void watch(CChildFrame* session);
    void showWindow();
    HistoryWindow* window() const { return shownWindow; }
    HistoryService& service() const { return *history; }

private:
    void record(const HistoryEntry& entry);
    void openEntry(const HistoryEntry& entry);

    CMainFrame& frame;
    SettingsStore& store;
    QPointer<HistoryWindow> shownWindow;
    // Declared last: its thread ends, and with it every answer, before the window goes.
    std::unique_ptr<HistoryService> history;
};

} // namespace veltro
