#pragma once

#include "common/FileDescriptor.h"

#include <optional>
#include <string>
#include <utility>

namespace veltro {

// An exclusive flock on a lock file, held for the object's life. The kernel lets it go when
// the process dies, however it dies, so a free lock means its instance is gone.
class InstanceLock {
public:
    // Creates the file (0600) if needed and takes the lock; nothing when another process
    // holds it or removed the file meanwhile. Throws AppError when the file cannot be made
    // or opened.
    static std::optional<InstanceLock> tryTake(const std::string& path);

    const std::string& path() const { return file; }
    // Removes the lock file while the lock is still held, then lets the lock go.
    void removeFile();

private:
    InstanceLock(std::string path, FileDescriptor descriptor)
        : file(std::move(path)), fd(std::move(descriptor)) {}

    std::string file;
    FileDescriptor fd;
};

} // namespace veltro
