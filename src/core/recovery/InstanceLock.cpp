#include "recovery/InstanceLock.h"

#include "common/AppError.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace veltro {

std::optional<InstanceLock> InstanceLock::tryTake(const std::string& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (fd.get() < 0) {
        throw AppError(path + ": " + std::strerror(errno));
    }
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        // EWOULDBLOCK: a running instance has it; anything else counts the same, the file
        // is not ours to take.
        return std::nullopt;
    }
    // Another instance may have removed the file between the open and the lock: a lock on
    // a file no longer under the name guards nothing.
    struct stat locked {};
    struct stat named {};
    if (::fstat(fd.get(), &locked) != 0 || ::stat(path.c_str(), &named) != 0 ||
        locked.st_ino != named.st_ino || locked.st_dev != named.st_dev) {
        return std::nullopt;
    }
    return InstanceLock(path, std::move(fd));
}

void InstanceLock::removeFile() {
    if (fd.get() >= 0) {
        ::unlink(file.c_str());
        fd.reset();
    }
}

} // namespace veltro
