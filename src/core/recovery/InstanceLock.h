#pragma once

#include <optional>
#include <string>

namespace veltro {

// An exclusive flock on a lock file, held for the object's life. The kernel lets it go when
// the process dies, however it dies, so a free lock means its instance is gone.
class InstanceLock {
public:
    // Creates the file (0600) if needed and takes the lock; nothing when another process
    // holds it or removed the file meanwhile. Throws AppError when the file cannot be made
    // or opened.
    static std::optional<InstanceLock> tryTake(const std::string& path);

    InstanceLock(InstanceLock&& other) noexcept;
    InstanceLock& operator=(InstanceLock&& other) noexcept;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

    const std::string& path() const { return file; }
    // Removes the lock file while the lock is still held, then lets the lock go.
    void removeFile();

private:
    InstanceLock(std::string path, int descriptor) : file(std::move(path)), fd(descriptor) {}

    std::string file;
    int fd = -1;
};

} // namespace veltro
