#include "app/WorkKeeper.h"

#include "app/CMainFrame.h"
#include "common/XdgFolders.h"
#include "history/HistoryOptions.h"
#include "session/CChildFrame.h"

namespace veltro {

WorkKeeper::WorkKeeper(CMainFrame& frame, SettingsStore& settings)
    : WorkKeeper(frame, settings, stateFolder(), historyPath()) {}

WorkKeeper::WorkKeeper(CMainFrame& frame, SettingsStore& settings,
                       const std::string& recoveryFolder, const std::string& historyFile)
    : documents(frame, recoveryFolder), batches(frame, settings, historyFile) {
    QObject::connect(&frame, &CMainFrame::sessionOpened, &documents, &DocumentRecovery::watch);
    QObject::connect(&frame, &CMainFrame::sessionOpened, &batches, &HistoryRecorder::watch);
    QObject::connect(&frame, &CMainFrame::historyRequested, &batches, &HistoryRecorder::showWindow);
    QObject::connect(&frame, &CMainFrame::recoveryRequested, &documents,
                     [this] { documents.offerRecovery(true); });
}

} // namespace veltro
