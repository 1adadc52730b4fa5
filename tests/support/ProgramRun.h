#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace veltro::test {

struct ProgramResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program with arguments, extra environment and standard input; optionally sends
// SIGINT once the standard error file first holds some text or after a delay.
inline ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                                const std::vector<std::string>& extraEnvironment,
                                const std::string& input, const std::filesystem::path& folder,
                                int interruptAfterMs = -1) {
    const auto inPath = folder / "stdin.txt";
    const auto outPath = folder / "stdout.txt";
    const auto errPath = folder / "stderr.txt";
    std::ofstream(inPath, std::ios::binary) << input;
    const pid_t child = fork();
    if (child == 0) {
        freopen(inPath.c_str(), "rb", stdin);
        freopen(outPath.c_str(), "wb", stdout);
        freopen(errPath.c_str(), "wb", stderr);
        for (const std::string& assignment : extraEnvironment) {
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
    if (interruptAfterMs >= 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(interruptAfterMs));
        kill(child, SIGINT);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ProgramResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    const auto slurp = [](const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    };
    result.out = slurp(outPath);
    result.err = slurp(errPath);
    return result;
}

} // namespace veltro::test
