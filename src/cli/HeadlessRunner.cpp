#include "cli/HeadlessRunner.h"

#include "cli/BatchFile.h"
#include "cli/CommandLine.h"
#include "cli/FailureRecordingHost.h"
#include "cli/InterruptWatcher.h"
#include "cli/StandardStreams.h"
#include "common/AppError.h"
#include "common/AtomicFile.h"
#include "results/DelimitedStream.h"
#include "results/ResultSink.h"
#include "session/ExecutionView.h"
#include "session/SessionHost.h"
#include "session/SessionRuntime.h"

#include <signal.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <memory>
#include <optional>

namespace veltro {

namespace {

constexpr auto threadWaitLimit = std::chrono::seconds(30);

// A run without a window: result sets go to the delimited stream as they are fetched, and
// a cancel that may take a while says so on standard error.
class HeadlessView : public ExecutionView {
public:
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
    std::atomic<bool> outputFailed = false;
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
        return failWith(std::string("cannot write the results: ") + failure.what());
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

    interrupts.cancelWith(
        [&runtime] { runtime->loop.post([&runtime] { runtime->control.Cancel(); }); });
    runtime->control.Execute(batchText);
    runtime->loop.runUntil([&session] { return !session.executing; });
    runtime->control.waitForThreads(threadWaitLimit);
    interrupts.cancelWith(nullptr);

    view.stream->finish();
    if (const int failure = view.stream->failure()) {
        return endAfterOutputFailure(failure, "the results");
    }
    int status = statusOf(session);
    std::string end = session.messageBuffer + '\n' + session.statusText + '\n';
    if (exportFile) {
        if (status == exitCompleted) {
            try {
                exportFile->commit();
            } catch (const AppError& failure) {
                end += std::string("veltro: cannot write the results: ") + failure.what() + '\n';
                status = exitFailure;
            }
        } else {
            end += "veltro: " + commandLine.exportTarget +
                   " was not written, since the batch did not complete.\n";
        }
    }
    if (!writeAll(stderr, end)) {
        return endAfterOutputFailure(errno, "the messages");
    }
    return status;
}

} // namespace veltro
