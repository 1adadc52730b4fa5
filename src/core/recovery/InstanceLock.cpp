#include "recovery/InstanceLock.h"

#include "common/AppError.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace veltro {

std::optional<InstanceLock> InstanceLock::tryTake(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        throw AppError(path + ": " + std::strerror(errno));
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        // EWOULDBLOCK: a running instance has it; anything else counts the same, the file
        // is not ours to take.
        ::close(fd);
        return std::nullopt;
    }
    // Another instance may have removed the file between the open and the lock: a lock on
    // a file no longer under the name guards nothing.
    struct stat locked {};
    struct stat named {};
    if (::fstat(fd, &locked) != 0 || ::stat(path.c_str(), &named) != 0 ||
        locked.st_ino != named.st_ino || locked.st_dev != named.st_dev) {
        ::close(fd);
        return std::nullopt;
    }
    return InstanceLock(path, fd);
}

InstanceLock::InstanceLock(InstanceLock&& other) noexcept
    : file(std::move(other.file)), fd(std::exchange(other.fd, -1)) {}

InstanceLock& InstanceLock::operator=(InstanceLock&& other) noexcept {
    if (this != &other) {
        if (fd >= 0) {
            ::close(fd);
        }
        file = std::move(other.file);
        fd = std::exchange(other.fd, -1);
    }
    return *this;
}

InstanceLock::~InstanceLock() {
    if (fd >= 0) {
        ::close(fd);
    }
}

void InstanceLock::removeFile() {
    if (fd >= 0) {
        ::unlink(file.c_str());
        ::close(fd);
        fd = -1;
    }
}

} // namespace veltro
