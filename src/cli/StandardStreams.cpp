#include "cli/StandardStreams.h"

#include "cli/ExitStatus.h"
#include "common/FileErrorText.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace veltro {

void occupyClosedStandardStreams() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        // The lowest free number is taken, and every lower standard one is open by now.
        if (open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY) != fd) {
            _exit(exitFailure);
        }
    }
}

bool writeAll(std::FILE* stream, std::string_view text) {
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size() &&
           std::fflush(stream) == 0;
}

int endAfterOutputFailure(int errnoValue, const std::string& what) {
    if (errnoValue == EPIPE) {
        return exitClosedPipe;
    }
    writeAll(stderr, "veltro: cannot write " + what + ": " +
                         FileErrorText(fileErrorCauseOf(errnoValue, true)) + "\n");
    return exitFailure;
}

} // namespace veltro
