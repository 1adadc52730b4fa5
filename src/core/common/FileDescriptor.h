#pragma once

#include <unistd.h>

#include <utility>

namespace veltro {

// Owns an open file descriptor (or -1) and closes it. A moved-from one owns nothing.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : fd(std::exchange(other.fd, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            reset();
            fd = std::exchange(other.fd, -1);
        }
        return *this;
    }

    int get() const { return fd; }
    // Closes the descriptor now.
    void reset() {
        if (fd >= 0) {
            ::close(std::exchange(fd, -1));
        }
    }

private:
    int fd;
};

} // namespace veltro
