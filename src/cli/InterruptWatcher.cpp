#include "cli/InterruptWatcher.h"

#include "cli/ExitStatus.h"
#include "common/AtomicFile.h"

#include <unistd.h>

namespace veltro {

InterruptWatcher::InterruptWatcher() {
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, &previous);
    watcher = std::thread([this] { watch(); });
}

InterruptWatcher::~InterruptWatcher() {
    stopping = true;
    watcher.join();
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

void InterruptWatcher::cancelWith(std::function<void()> action) {
    const std::lock_guard lock(mutex);
    cancel = std::move(action);
}

void InterruptWatcher::watch() {
    // Wakes now and then to notice the end of the run.
    const timespec tick{0, 100'000'000};
    while (!stopping) {
        const int signal = sigtimedwait(&signals, nullptr, &tick);
        if (signal == SIGINT) {
            const std::lock_guard lock(mutex);
            if (cancel && !cancelRequested) {
                cancelRequested = true;
                cancel();
                continue;
            }
        }
        if (signal == SIGINT || signal == SIGTERM) {
            AtomicFile::removeAllTemporaryFiles();
            _exit(signal == SIGINT ? exitCancelled : exitTerminated);
        }
    }
}

} // namespace veltro
