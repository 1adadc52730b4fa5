#include "cli/DriverInfoRunner.h"

#include "cli/CommandLine.h"
#include "cli/FailureRecordingHost.h"
#include "cli/InterruptWatcher.h"
#include "cli/StandardStreams.h"
#include "common/AtomicFile.h"
#include "common/ErrorText.h"
#include "common/FileError.h"
#include "common/LineDiff.h"
#include "driverinfo/DriverInfoReport.h"
#include "session/Session.h"

#include <signal.h>

#include <cerrno>

namespace veltro {

namespace {

int failWith(const std::string& text) {
    writeAll(stderr, "veltro: " + text + "\n");
    return exitFailure;
}

// A session connected to one data source, or the text of why it is not.
struct ReportSource {
    ReportSource(const SettingsStore& settings, const std::string& connectString)
        : session(settings, host) {
        connected = session.Connect(connectString, std::nullopt);
    }

    FailureRecordingHost host;
    Session session;
    bool connected = false;
};

int writeReport(const ReportSource& source, const std::string& target) {
    if (target == "-") {
        const std::string text = DriverInfoReport(source.session.connection).fileText(false);
        return writeAll(stdout, text) ? exitCompleted : endAfterOutputFailure(errno, "the report");
    }
    try {
        // Refused before the driver is asked.
        AtomicFile file(target);
        if (!writeAll(file.stream(), DriverInfoReport(source.session.connection).fileText(false))) {
            file.fail(errno);
        }
        file.commit();
        return exitCompleted;
    } catch (const AppError& failure) {
        return failWith("cannot write the report: " + FileError::withReason(failure));
    }
}

int writeDifferences(const ReportSource& first, const ReportSource& second) {
    // The lines keep the saved reports' CR LF, as diff shows two saved reports, so that
    // patch turns one saved report into the other.
    const std::string differences =
        unifiedDiff(splitLines(DriverInfoReport(first.session.connection).fileText(false)),
                    splitLines(DriverInfoReport(second.session.connection).fileText(false)),
                    "a/" + first.session.capabilities().dbmsName,
                    "b/" + second.session.capabilities().dbmsName);
    if (!writeAll(stdout, differences)) {
        return endAfterOutputFailure(errno, "the differences");
    }
    return differences.empty() ? exitCompleted : exitReportsDiffer;
}

} // namespace

int runDriverInfo(const CommandLine& commandLine, const SettingsStore& settings) {
    // Writes to a closed pipe fail with EPIPE instead of ending the process unseen.
    signal(SIGPIPE, SIG_IGN);
    const InterruptWatcher interrupts;
    try {
        const ReportSource first(settings, *commandLine.connectString);
        if (!first.connected) {
            return failWith("could not connect: " + first.host.connectFailure());
        }
        if (!commandLine.diffConnectString) {
            return writeReport(first, commandLine.outputTarget);
        }
        const ReportSource second(settings, *commandLine.diffConnectString);
        if (!second.connected) {
            return failWith("could not connect to the second data source (--diff): " +
                            second.host.connectFailure());
        }
        return writeDifferences(first, second);
    } catch (...) {
        // The driver refused SQLGetTypeInfo, or the statement for it.
        return failWith(errorTextFor(std::current_exception()));
    }
}

} // namespace veltro
