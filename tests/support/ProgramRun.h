#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace veltro::test {

struct ProgramResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A signal sent to the program once a file (its standard error, a driver's stats file) holds
// a text.
struct SignalOnText {
    std::filesystem::path file;
    std::string text;
    int signal = SIGINT;
};

// How the program runs, beyond its arguments.
struct ProgramSetup {
    std::vector<std::string> environment;
    // Standard input is a pipe (as from `<(...)`) rather than a file; the input must fit in
    // the pipe's buffer.
    bool inputThroughPipe = false;
    // Descriptors the program starts without (`>&-`).
    std::vector<int> closedStreams;
    // Standard output goes there (such as /dev/full) instead of into stdout.txt.
    std::string outputPath;
    // What stdout.txt and stderr.txt hold before the run; when given, the program's output
    // is appended to it, as the shell's `>>` and `2>>` open them.
    std::string outputBefore;
    std::string errorBefore;
    // Standard output is a pipe whose reader is gone, as after `| head -c 1`; the program
    // inherits SIGPIPE ignored, as from some callers, so only its own handling counts.
    bool outputReaderGone = false;
    // Sent in order, each when its text shows.
    std::vector<SignalOnText> signals;
};

namespace detail {

// Whether the child has ended; its wait status then goes to status.
inline bool childEnded(pid_t child, int& status) {
    return waitpid(child, &status, WNOHANG) == child;
}

// Waits, without polling, until the file holds the text or the child has ended (reaped is
// then set and its wait status goes to status), at most a minute. True when the text
// showed while the child ran.
inline bool awaitTextWhileRunning(const std::filesystem::path& file, const std::string& text,
                                  pid_t child, int& status, bool& reaped) {
    // Changes in the file's folder, and the child's end, wake the wait.
    const int changes = inotify_init1(IN_CLOEXEC);
    inotify_add_watch(changes, file.parent_path().c_str(),
                      IN_MODIFY | IN_CLOSE_WRITE | IN_CREATE | IN_MOVED_TO);
    const int ending = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
    bool shown = false;
    for (;;) {
        if (childEnded(child, status)) {
            reaped = true;
            break;
        }
        if (readWholeFile(file).find(text) != std::string::npos) {
            shown = true;
            break;
        }
        pollfd events[] = {{changes, POLLIN, 0}, {ending, POLLIN, 0}};
        if (poll(events, 2, 60000) <= 0) {
            break;
        }
        if (events[0].revents & POLLIN) {
            char drained[4096];
            static_cast<void>(read(changes, drained, sizeof drained));
        }
    }
    close(changes);
    close(ending);
    return shown;
}

} // namespace detail

// Runs a program with arguments and standard input in a folder that receives its stdin.txt,
// stdout.txt and stderr.txt.
inline ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                                const std::filesystem::path& folder, const std::string& input,
                                const ProgramSetup& setup = {}) {
    const auto inPath = folder / "stdin.txt";
    const auto outPath =
        setup.outputPath.empty() ? folder / "stdout.txt" : std::filesystem::path(setup.outputPath);
    const auto errPath = folder / "stderr.txt";
    std::ofstream(inPath, std::ios::binary) << input;
    std::ofstream(folder / "stdout.txt", std::ios::binary) << setup.outputBefore;
    std::ofstream(errPath, std::ios::binary) << setup.errorBefore;
    int inputPipe[2] = {-1, -1};
    int outputPipe[2] = {-1, -1};
    if ((setup.inputThroughPipe && pipe(inputPipe) != 0) ||
        (setup.outputReaderGone && pipe(outputPipe) != 0)) {
        return {};
    }
    const pid_t child = fork();
    if (child == 0) {
        freopen(inPath.c_str(), "rb", stdin);
        freopen(outPath.c_str(), setup.outputBefore.empty() ? "wb" : "ab", stdout);
        freopen(errPath.c_str(), setup.errorBefore.empty() ? "wb" : "ab", stderr);
        if (setup.inputThroughPipe) {
            dup2(inputPipe[0], STDIN_FILENO);
            close(inputPipe[0]);
            close(inputPipe[1]);
        }
        if (setup.outputReaderGone) {
            dup2(outputPipe[1], STDOUT_FILENO);
            close(outputPipe[0]);
            close(outputPipe[1]);
            signal(SIGPIPE, SIG_IGN);
        }
        for (const int fd : setup.closedStreams) {
            close(fd);
        }
        for (const std::string& assignment : setup.environment) {
            putenv(const_cast<char*>(assignment.c_str()));
        }
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    if (setup.inputThroughPipe) {
        close(inputPipe[0]);
        const ssize_t written = write(inputPipe[1], input.data(), input.size());
        (void)written; // a short write shows as a wrong result
        close(inputPipe[1]);
    }
    if (setup.outputReaderGone) {
        close(outputPipe[0]);
        close(outputPipe[1]);
    }
    int status = 0;
    bool ended = false;
    for (const SignalOnText& step : setup.signals) {
        // A program that ends first gets no signal.
        if (!detail::awaitTextWhileRunning(step.file, step.text, child, status, ended)) {
            break;
        }
        kill(child, step.signal);
    }
    if (!ended) {
        waitpid(child, &status, 0);
    }
    ProgramResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = readWholeFile(folder / "stdout.txt");
    result.err = readWholeFile(errPath);
    return result;
}

} // namespace veltro::test
