#include "cli/HeadlessRunner.h"

#include "cli/BatchFile.h"
#include "cli/CommandLine.h"
#include "cli/FailureRecordingHost.h"
#include "cli/InterruptWatcher.h"
#include "cli/StandardStreams.h"
#include "common/AppError.h"
#include "common/AtomicFile.h"
#include "common/FileError.h"
#include "execution/ExecutionView.h"
#include "execution/SessionRuntime.h"
#include "history/HistoryOptions.h"
#include "history/HistoryService.h"
#include "results/DelimitedStream.h"
#include "results/ResultSink.h"
#include "session/SessionHost.h"

#include <signal.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace veltro {

namespace {

constexpr auto threadWaitLimit = std::chrono::seconds(30);

// A run without a window: result sets go to the delimited stream as they are fetched,
// messages to standard error as they come, and a cancel that may take a while says so there.
class HeadlessView : public ExecutionView {
public:
    void messagesAdded(const std::string& messages) override { writeMessages(messages); }
    void batchFinished(const HistoryEntry& entry) override {
        if (history) {
            history->record(entry, historyKeep);
        }
    }

    // Writes what of the session's messages has not gone out, each message ending its line;
    // the first failure is kept and ends further writing.
    void writeMessages(const std::string& messages) {
        std::string_view part = std::string_view(messages).substr(written);
        if (part.empty() || writeFailure != 0) {
            return;
        }
        if (written > 0) {
            // Of the blank line between two messages, the first line end is out already.
            part.remove_prefix(1);
        }
        if (!writeAll(stderr, std::string(part) + '\n')) {
            writeFailure = errno;
        }
        written = messages.size();
    }

    void showPaneText(int pane, const std::string& text) override {
        (void)pane;
        // A cancel for a failed output is no news: the failure is reported at the end.
        if (text == cancellingText && !outputFailed) {
            // A failure shows again, and counts, when the run writes its end.
            writeAll(stderr, text + " (Ctrl+C again ends the program at once)\n");
        }
    }
    // The worker writes the stream itself, one result set after another.
    ResultSinkMaker resultSinkMaker() override {
        return [target = stream] { return target->nextResult(); };
    }

    std::shared_ptr<DelimitedStream> stream;
    // Only with --history.
    std::unique_ptr<HistoryService> history;
    int historyKeep = 0;
    std::atomic<bool> outputFailed = false;
    int writeFailure = 0;

private:
    std::size_t written = 0;
};

int statusOf(const Session& session) {
    if (session.statusText == canceledText) {
        return exitCancelled;
    }
    if (session.statusText == completedWithErrorsText) {
        return exitCompletedWithErrors;
    }
    return exitCompleted;
}

int failWith(const std::string& text) {
    writeAll(stderr, "veltro: " + text + "\n");
    return exitFailure;
}

} // namespace

int runHeadless(const CommandLine& commandLine, const SettingsStore& settings) {
    // Writes to a closed pipe fail with EPIPE instead of ending the process unseen.
    signal(SIGPIPE, SIG_IGN);
    InterruptWatcher interrupts;
    std::string batchText;
    try {
        batchText = readBatchFile(*commandLine.executeFile);
    } catch (const AppError& failure) {
        return failWith(failure.what());
    }

    FailureRecordingHost sessionHost;
    HeadlessView view;
    const auto runtime = SessionRuntime::create(settings, sessionHost, view);
    Session& session = runtime->session;
    runtime->workerHost.dropRowNotices();
    if (!session.Connect(*commandLine.connectString, std::nullopt)) {
        return failWith("could not connect: " + sessionHost.connectFailure());
    }
    // The export file is written under a temporary name and takes its place only when the
    // batch completed.
    std::optional<AtomicFile> exportFile;
    try {
        if (commandLine.exportTarget != "-") {
            exportFile.emplace(commandLine.exportTarget);
        }
    } catch (const AppError& failure) {
        return failWith("cannot write the results: " + FileError::withReason(failure));
    }
    DelimitedStream::Options options;
    options.delimiter = commandLine.delimiter;
    options.columnNames = commandLine.header;
    options.nullText = commandLine.nullText;
    // A write that fails stops the batch: nothing more can reach the reader.
    view.stream = std::make_shared<DelimitedStream>(
        exportFile ? exportFile->stream() : stdout, options, [&runtime, &view](int) {
            view.outputFailed = true;
            runtime->loop.post([&runtime] { runtime->control.Cancel(); });
        });

    if (commandLine.history) {
        view.historyKeep = loadNumberOption(settings, historyEntriesOption);
        view.history = std::make_unique<HistoryService>(historyPath(), [](const std::string& text) {
            writeAll(stderr, "veltro: " + text + "\n");
        });
    }
    interrupts.cancelWith(
        [&runtime] { runtime->loop.post([&runtime] { runtime->control.Cancel(); }); });
    runtime->control.Execute(batchText);
    const BatchState& batch = runtime->control.batch();
    runtime->loop.runUntil([&batch] { return !batch.executing(); });
    runtime->control.waitForThreads(threadWaitLimit);
    interrupts.cancelWith(nullptr);
    if (view.history) {
        view.history->waitIdle();
    }

    view.stream->finish();
    if (const int failure = view.stream->failure()) {
        return endAfterOutputFailure(failure, "the results");
    }
    int status = statusOf(session);
    view.writeMessages(batch.messageBuffer);
    std::string end = (batch.messageBuffer.empty() ? "\n" : "") + session.statusText + '\n';
    // Rows written in place are out already, whatever the status.
    if (exportFile) {
        if (status == exitCompleted || exportFile->writesInPlace()) {
            try {
                exportFile->commit();
            } catch (const AppError& failure) {
                end += "veltro: cannot write the results: " + FileError::withReason(failure) + '\n';
                status = exitFailure;
            }
        } else {
            end += "veltro: " + commandLine.exportTarget + " was not written, since the batch " +
                   (status == exitCompletedWithErrors ? "had errors" : "did not complete") + ".\n";
        }
    }
    if (view.writeFailure == 0 && !writeAll(stderr, end)) {
        view.writeFailure = errno;
    }
    if (view.writeFailure != 0) {
        return endAfterOutputFailure(view.writeFailure, "the messages");
    }
    return status;
}

} // namespace veltro
