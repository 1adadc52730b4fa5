#include "cli/HeadlessRunner.h"

#include "cli/BatchFile.h"
#include "cli/CommandLine.h"
#include "cli/InterruptWatcher.h"
#include "cli/StandardStreams.h"
#include "common/AppError.h"
#include "common/AtomicFile.h"
#include "results/GridExport.h"
#include "session/ExecutionView.h"
#include "session/SessionHost.h"
#include "session/SessionRuntime.h"

#include <signal.h>

#include <cerrno>
#include <chrono>
#include <optional>

namespace veltro {

namespace {

constexpr auto threadWaitLimit = std::chrono::seconds(30);

// Remembers the connect failure instead of asking whether to retry.
class HeadlessSessionHost : public SessionHost {
public:
    bool askRetryConnect(const std::string& errorText) override {
        failure = errorText;
        return false;
    }
    std::string failure;
};

// The status pane of a run without a window: a cancel that may take a while says so.
class HeadlessView : public ExecutionView {
public:
    void showPaneText(int pane, const std::string& text) override {
        (void)pane;
        if (text == cancellingText) {
            // A failure shows again, and counts, when the run writes its end.
            writeAll(stderr, text + " (Ctrl+C again ends the program at once)\n");
        }
    }
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

// Writes every grid to the export target; the run's status after that.
int exportResults(const CommandLine& commandLine, const Session& session,
                  std::optional<AtomicFile>& exportFile, int status) {
    if (!exportFile) {
        if (!WriteGridFile(stdout, session.gridList, commandLine.delimiter, commandLine.header)) {
            return endAfterOutputFailure(errno, "the results");
        }
        return status;
    }
    try {
        if (!WriteGridFile(exportFile->stream(), session.gridList, commandLine.delimiter,
                           commandLine.header)) {
            exportFile->fail(errno);
        }
        exportFile->commit();
        return status;
    } catch (const AppError& failure) {
        return failWith(std::string("cannot write the results: ") + failure.what());
    }
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

    HeadlessSessionHost sessionHost;
    HeadlessView view;
    const auto runtime = SessionRuntime::create(settings, sessionHost, view);
    Session& session = runtime->session;
    if (!session.Connect(*commandLine.connectString, std::nullopt)) {
        return failWith("could not connect: " + (sessionHost.failure.empty()
                                                     ? std::string("no data source was chosen.")
                                                     : sessionHost.failure));
    }
    std::optional<AtomicFile> exportFile;
    try {
        if (commandLine.exportTarget != "-") {
            exportFile.emplace(commandLine.exportTarget);
        }
    } catch (const AppError& failure) {
        return failWith(std::string("cannot write the results: ") + failure.what());
    }

    interrupts.cancelWith(
        [&runtime] { runtime->loop.post([&runtime] { runtime->control.Cancel(); }); });
    runtime->control.Execute(batchText);
    runtime->loop.runUntil([&session] { return !session.executing; });
    runtime->control.waitForThreads(threadWaitLimit);
    interrupts.cancelWith(nullptr);

    const int status = exportResults(commandLine, session, exportFile, statusOf(session));
    if (status == exitClosedPipe) {
        return status;
    }
    if (!writeAll(stderr, session.messageBuffer + '\n' + session.statusText + '\n')) {
        return endAfterOutputFailure(errno, "the messages");
    }
    return status;
}

} // namespace veltro
