#pragma once

#include "history/HistoryRecorder.h"
#include "recovery/DocumentRecovery.h"

#include <string>

namespace veltro {

class CMainFrame;
class SettingsStore;

// What keeps the user's work beyond a run: the recovery of unsaved queries and the query
// history, attached to every session window the main frame opens and to its menu commands.
class WorkKeeper {
public:
    // The folders default to the user's XDG state and data folders.
    WorkKeeper(CMainFrame& frame, SettingsStore& settings);
    WorkKeeper(CMainFrame& frame, SettingsStore& settings, const std::string& recoveryFolder,
               const std::string& historyFile);

    DocumentRecovery& recovery() { return documents; }
    HistoryRecorder& history() { return batches; }

private:
    DocumentRecovery documents;
    HistoryRecorder batches;
};

} // namespace veltro
