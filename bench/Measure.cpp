// bench_measure RESULT_FILE COMMAND [ARGS...]
// Runs COMMAND (standard streams inherited) and writes one line to RESULT_FILE:
//   <wall seconds> <peak RSS KiB> <exit status> <CPU seconds, user and system>
// The exit status is 128 + signal when the command was killed. Our own exit status is the
// command's, or 127 when it could not be started.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_measure RESULT_FILE COMMAND [ARGS...]\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("bench_measure: fork");
        return 127;
    }
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        std::fprintf(stderr, "bench_measure: cannot run %s: %s\n", argv[2], std::strerror(errno));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    // wait4 gives the rusage of exactly this child, so nothing else we started can skew it.
    while (wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            std::perror("bench_measure: wait4");
            return 127;
        }
    }
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);

    std::FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) {
        std::perror("bench_measure: result file");
        return 127;
    }
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    // On Linux ru_maxrss is in KiB.
    std::fprintf(out, "%.3f %ld %d %.3f %ld\n", wall.count(), usage.ru_maxrss, code,
                 seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_nvcsw);
    std::fclose(out);
    return code;
}
