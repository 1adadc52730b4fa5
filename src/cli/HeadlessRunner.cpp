#include "cli/HeadlessRunner.h"

#include "cli/CommandLine.h"
#include "common/AtomicFile.h"
#include "common/FileErrorText.h"
#include "results/GridExport.h"
#include "session/ExecutionView.h"
#include "session/SessionHost.h"
#include "session/SessionRuntime.h"

#include <signal.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <thread>

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

bool readBatchText(const std::string& source, std::string& text, std::string& failure) {
    if (source == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return true;
    }
    struct stat info {};
    if (stat(source.c_str(), &info) != 0) {
        failure = FileErrorText(fileErrorCauseOf(errno, false));
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        failure = "It is not a regular file.";
        return false;
    }
    std::ifstream file(source, std::ios::binary);
    if (!file) {
        failure = FileErrorText(fileErrorCauseOf(errno, false));
        return false;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    text = contents.str();
    return true;
}

// Turns Ctrl+C into a Cancel on the loop's thread, for as long as it lives.
class InterruptWatcher {
public:
    InterruptWatcher(MessageLoop& loop, ExecutionControl& control) {
        sigemptyset(&interrupts);
        sigaddset(&interrupts, SIGINT);
        sigaddset(&interrupts, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &interrupts, &previous);
        watcher = std::thread([this, &loop, &control] {
            const timespec tick{0, 100'000'000};
            while (!stopping) {
                if (sigtimedwait(&interrupts, nullptr, &tick) > 0) {
                    loop.post([&control] { control.Cancel(); });
                }
            }
        });
    }
    ~InterruptWatcher() {
        stopping = true;
        watcher.join();
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    }
    InterruptWatcher(const InterruptWatcher&) = delete;
    InterruptWatcher& operator=(const InterruptWatcher&) = delete;

private:
    sigset_t interrupts{};
    sigset_t previous{};
    std::atomic<bool> stopping = false;
    std::thread watcher;
};

bool exportResults(const CommandLine& commandLine, const Session& session, std::string& failure) {
    const auto writer = [&](std::FILE* out) {
        return WriteGridFile(out, session.gridList, commandLine.delimiter, commandLine.header);
    };
    if (commandLine.exportTarget == "-") {
        if (!writer(stdout)) {
            failure = FileErrorText(fileErrorCauseOf(errno, true));
            return false;
        }
        return true;
    }
    return writeFileAtomically(commandLine.exportTarget, writer, failure);
}

} // namespace

int runHeadless(const CommandLine& commandLine, const SettingsStore& settings) {
    std::string batchText;
    std::string failure;
    if (!readBatchText(*commandLine.executeFile, batchText, failure)) {
        std::cerr << "veltro: cannot read " << *commandLine.executeFile << ": " << failure << '\n';
        return exitFailure;
    }

    HeadlessSessionHost sessionHost;
    ExecutionView view;
    const auto runtime = SessionRuntime::create(settings, sessionHost, view);
    Session& session = runtime->session;
    if (!session.Connect(*commandLine.connectString, std::nullopt)) {
        std::cerr << "veltro: could not connect: "
                  << (sessionHost.failure.empty() ? "no data source was chosen."
                                                  : sessionHost.failure)
                  << '\n';
        return exitFailure;
    }
    {
        const InterruptWatcher interrupts(runtime->loop, runtime->control);
        runtime->control.Execute(batchText);
        runtime->loop.runUntil([&session] { return !session.executing; });
        runtime->control.waitForThreads(threadWaitLimit);
    }

    int status = exitCompleted;
    if (session.statusText == canceledText) {
        status = exitCancelled;
    } else if (session.statusText == completedWithErrorsText) {
        status = exitCompletedWithErrors;
    }
    if (!exportResults(commandLine, session, failure)) {
        std::cerr << "veltro: cannot write the results: " << failure << '\n';
        status = exitFailure;
    }
    std::cerr << session.messageBuffer << '\n' << session.statusText << '\n';
    return status;
}

} // namespace veltro
