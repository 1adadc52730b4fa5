#include "cli/InterruptWatcher.h"

#include "common/AtomicFile.h"

#include <unistd.h>

namespace veltro {

InterruptWatcher::InterruptWatcher() {
    sigemptyset(&signals);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE}) {
        sigaddset(&signals, signal);
    }
    pthread_sigmask(SIG_BLOCK, &signals, &previous);
    watcher = std::thread([this] { watch(); });
}

InterruptWatcher::~InterruptWatcher() {
    // Wakes the watcher at once: SIGTERM sent by this process to that one thread means the
    // run is over. It cannot fail while the watcher waits, which it does until this.
    pthread_kill(watcher.native_handle(), SIGTERM);
    watcher.join();
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

void InterruptWatcher::cancelWith(std::function<void()> action) {
    const std::lock_guard lock(mutex);
    cancel = std::move(action);
}

void InterruptWatcher::watch() {
    for (;;) {
        siginfo_t info{};
        const int signal = sigwaitinfo(&signals, &info);
        // The kernel fills in the sender of kill and tgkill: only this process can end the
        // watch this way.
        if (signal == SIGTERM && (info.si_code == SI_USER || info.si_code == SI_TKILL) &&
            info.si_pid == getpid()) {
            return;
        }
        if (signal == SIGINT) {
            const std::lock_guard lock(mutex);
            if (cancel && !cancelRequested) {
                cancelRequested = true;
                cancel();
                continue;
            }
        }
        // A SIGPIPE of a failed write stays with the writing thread, which blocks it: one
        // taken here was sent to the process.
        if (signal > 0) {
            AtomicFile::removeAllTemporaryFiles();
            _exit(128 + signal);
        }
    }
}

} // namespace veltro
