#include "history/HistoryRecorder.h"

#include "app/CMainFrame.h"
#include "app/PromptService.h"
#include "editor/CQryView.h"
#include "editor/CVeltroDoc.h"
#include "history/HistoryOptions.h"
#include "history/HistoryService.h"
#include "history/HistoryWindow.h"
#include "session/CChildFrame.h"

namespace veltro {

HistoryRecorder::HistoryRecorder(CMainFrame& mainFrame, SettingsStore& settings,
                                 const std::string& path)
    : frame(mainFrame), store(settings) {
    history = std::make_unique<HistoryService>(path, [this](const std::string& text) {
        QMetaObject::invokeMethod(
            this,
            [this, text] {
                PromptService::current().message(&frame, QString::fromStdString(text),
                                                 PromptButtons::ok, PromptIcon::warning);
            },
            Qt::QueuedConnection);
    });
}

HistoryRecorder::~HistoryRecorder() {
    history.reset();
    delete shownWindow;
}

void HistoryRecorder::watch(CChildFrame* session) {
    connect(session, &CChildFrame::batchRecorded, this, &HistoryRecorder::record);
}

void HistoryRecorder::record(const HistoryEntry& entry) {
    history->record(entry, loadNumberOption(store, historyEntriesOption));
    if (shownWindow && shownWindow->isVisible()) {
        shownWindow->refresh();
    }
}

void HistoryRecorder::showWindow() {
    if (!shownWindow) {
        shownWindow = new HistoryWindow(*history, &frame);
        connect(shownWindow, &HistoryWindow::openRequested, this, &HistoryRecorder::openEntry);
    }
    shownWindow->show();
    shownWindow->raise();
    shownWindow->activateWindow();
    shownWindow->refresh();
}

void HistoryRecorder::openEntry(const HistoryEntry& entry) {
    const std::optional<std::string> source =
        entry.dataSource.empty() ? std::nullopt : std::optional(entry.dataSource);
    if (CVeltroDoc* doc = frame.newConnection(std::nullopt, source, std::nullopt)) {
        doc->view()->setTextUtf8(entry.text);
    }
}

} // namespace veltro
