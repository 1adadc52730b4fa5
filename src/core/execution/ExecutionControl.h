#pragma once

#include "execution/BatchState.h"
#include "execution/ResultNavigation.h"
#include "execution/SessionThread.h"
#include "execution/WorkerContext.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace veltro {

class ExecutionView;
class ResultSink;
class Session;
class WorkerHost;

inline constexpr const char* executingText = "Executing query batch...";
inline constexpr const char* cancellingText = "Attempting to cancel query batch...";
inline constexpr const char* completedText = "Query batch completed";
inline constexpr const char* completedWithErrorsText = "Query batch completed with errors";
inline constexpr const char* canceledText = "Query batch canceled";
inline constexpr const char* canceledByUserText = "Query canceled by user.";
inline constexpr const char* completedSuccessfullyText = "The command(s) completed successfully.";

// Running a batch on the session window's side: Execute and Launch start a worker thread,
// the handlers answer the worker's messages on the window's thread, Cancel starts a cancel
// thread, and the completion sets the texts the user sees. Everything here runs on the
// window's thread; the threads it starts get their own copies of what they read.
class ExecutionControl {
public:
    // The host carries the worker's messages back to this object on the window's thread.
    ExecutionControl(Session& session, ExecutionView& view, WorkerHost& host);
    ~ExecutionControl();
    ExecutionControl(const ExecutionControl&) = delete;
    ExecutionControl& operator=(const ExecutionControl&) = delete;

    // Runs the selection (character positions) or, when it is empty, the whole text.
    // Nothing happens while a batch runs.
    void Execute(const std::string& wholeText, std::size_t selectionStart = 0,
                 std::size_t selectionEnd = 0, BatchOutput output = BatchOutput::grids);
    bool Launch(const std::string& batchText);

    // Worker messages, on the window's thread.
    void onNewGrid(std::shared_ptr<ResultSink> grid);
    void onGridRows();
    void onMessage(const std::string& text);
    void CompleteBatch(BatchEnd end);
    void onTextFetchDone(BatchEnd end, std::string text);
    void onCancelDone();
    void onCurrentDatabase(const std::string& name);
    void onTimer();

    void Cancel();
    void ClearResults(const std::string& text);
    // The Clear All command on the messages or the object text on show.
    void clearMessages();
    void clearText();

    const BatchState& batch() const { return state; }
    // What to close once the cancel under way has stopped the batch.
    void setPendingClose(PendingClose action);
    PendingClose takePendingClose();

    // The window is going: cancels a running batch, and from now on the worker's messages
    // find no window and change nothing on screen.
    void detachView();
    bool threadsRunning() const;
    // For closing: wait for the threads of the batch, at most that long each.
    bool waitForThreads(std::chrono::milliseconds limitEach);
    // What the threads of a batch must keep alive for as long as they run.
    void setKeepAlive(std::weak_ptr<void> owner) { keepAlive = std::move(owner); }

    ResultNavigation& navigation() { return results; }

private:
    bool startCancelThread();
    void noteCompletionIdle();

    bool windowExists() const { return view != &detachedView; }

    Session& session;
    ExecutionView* view;
    ExecutionView& detachedView;
    WorkerHost& host;
    BatchState state;
    ResultNavigation results;
    std::weak_ptr<void> keepAlive;
    SessionThread workerThread;
    SessionThread cancelThread;
    // The grid the worker fills now, and the cancel scope of the running batch.
    std::shared_ptr<ResultSink> fillingGrid;
    std::uint64_t cancelTicket = 0;
    // The editor's line on which the running batch begins.
    int batchLine = 1;
    // The running batch as the history records it.
    std::string launchedText;
    std::chrono::system_clock::time_point launchedAt;
};

} // namespace veltro
