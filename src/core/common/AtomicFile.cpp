#include "common/AtomicFile.h"

#include "common/FileError.h"
#include "common/FileErrorText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <random>
#include <set>

namespace veltro {

namespace {

// The temporary files of the AtomicFiles not yet committed. Making a file and recording it,
// and renaming it and forgetting it, happen under one lock, so that removeAll() neither misses
// a file nor removes the name of one already renamed into place.
class TemporaryFiles {
public:
    static TemporaryFiles& instance() {
        static TemporaryFiles files;
        return files;
    }

    // Creates a file under an unused name in the folder (the kernel applies the umask to
    // 0666); the descriptor, or -1 with errno set.
    int create(const std::filesystem::path& folder, const std::string& baseName,
               std::string& name) {
        const std::lock_guard lock(mutex);
        if (closed) {
            errno = ECANCELED;
            return -1;
        }
        constexpr int attempts = 100;
        for (int attempt = 0; attempt < attempts; ++attempt) {
            name = folder / ("." + baseName + "." + randomSuffix());
            const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                names.insert(name);
                return fd;
            }
            if (errno != EEXIST) {
                return -1;
            }
        }
        return -1;
    }

    // rename()'s answer; the name is forgotten once it is gone.
    int rename(const std::string& name, const std::string& target) {
        const std::lock_guard lock(mutex);
        const int result = std::rename(name.c_str(), target.c_str());
        if (result == 0) {
            names.erase(name);
        }
        return result;
    }

    void remove(const std::string& name) {
        const std::lock_guard lock(mutex);
        unlink(name.c_str());
        names.erase(name);
    }

    void removeAll() {
        const std::lock_guard lock(mutex);
        for (const std::string& name : names) {
            unlink(name.c_str());
        }
        names.clear();
        closed = true;
    }

private:
    std::string randomSuffix() {
        static constexpr char letters[] =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        std::uniform_int_distribution<std::size_t> pick(0, sizeof(letters) - 2);
        std::string suffix(6, ' ');
        for (char& c : suffix) {
            c = letters[pick(random)];
        }
        return suffix;
    }

    std::mutex mutex;
    std::set<std::string> names;
    bool closed = false;
    std::mt19937 random{std::random_device{}()};
};

// The descriptor that a name stands for as written (/dev/stdout, /dev/fd/N, /proc/self/fd/N
// and the like), or -1.
int descriptorOfName(const std::string& name) {
    constexpr std::array<const char*, 3> standard = {"/dev/stdin", "/dev/stdout", "/dev/stderr"};
    for (std::size_t fd = 0; fd < standard.size(); ++fd) {
        if (name == standard[fd]) {
            return static_cast<int>(fd);
        }
    }
    for (const std::string& folder :
         {std::string("/dev/fd/"), std::string("/proc/self/fd/"),
          std::string("/proc/thread-self/fd/"), "/proc/" + std::to_string(getpid()) + "/fd/"}) {
        if (!name.starts_with(folder)) {
            continue;
        }
        const std::string number = name.substr(folder.size());
        if (!number.empty() && number.size() <= 9 &&
            number.find_first_not_of("0123456789") == std::string::npos) {
            return std::stoi(number);
        }
    }
    return -1;
}

// The descriptor that a name leads to, or -1. Such a name leads to whatever the descriptor
// holds, which only the descriptor itself can write in place. The name is followed as the
// system follows it: from the working folder, through "..", linked folders and links to such a
// name (`../dev/stdout`, a link to /dev/stdout), up to the system's limit of 40 links.
int descriptorNamed(const std::string& path) {
    if (path.empty()) {
        return -1;
    }
    std::error_code error;
    std::filesystem::path name = std::filesystem::absolute(path, error);
    for (int link = 0; link <= 40 && !error; ++link) {
        if (const int fd = descriptorOfName(name.lexically_normal().string()); fd >= 0) {
            return fd;
        }
        const std::filesystem::path folder = std::filesystem::canonical(name.parent_path(), error);
        if (error) {
            break;
        }
        name = folder / name.filename();
        if (const int fd = descriptorOfName(name.string()); fd >= 0) {
            return fd;
        }
        if (!std::filesystem::is_symlink(name, error)) {
            break;
        }
        name = folder / std::filesystem::read_symlink(name, error);
    }
    return -1;
}

// Where a name that leads to no file has the file made: the name itself, or through a
// dangling link the name it points to, as the system's open() would create it.
std::filesystem::path linkTarget(const std::filesystem::path& path) {
    std::filesystem::path name = path;
    std::error_code error;
    // stat() has answered ENOENT, so the links end at a missing name within the system's
    // limit; the count only guards against links changed meanwhile.
    for (int link = 0; link < 40 && std::filesystem::is_symlink(name, error); ++link) {
        const std::filesystem::path next = std::filesystem::read_symlink(name, error);
        if (error) {
            break;
        }
        name = name.parent_path() / next;
    }
    return name;
}

// The system's own words for an errno value ("Permission denied").
std::string systemReason(int errnoValue) {
    const char* text = strerrordesc_np(errnoValue);
    return text != nullptr ? text : "Unknown error " + std::to_string(errnoValue);
}

} // namespace

AtomicFile::AtomicFile(const std::string& path) : path(path) {
    if (const int descriptor = descriptorNamed(path); descriptor >= 0) {
        openDescriptor(descriptor);
        return;
    }
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    // A missing file is made; a name that cannot be followed (a loop of links, a file where
    // a folder should be) is refused here, before the rename could replace a link on it.
    if (!exists && errno != ENOENT) {
        throwFailure(errno);
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) {
            throwFailure(errno);
        }
        return;
    }
    // The rename would replace a file that the user may not write.
    if (exists && faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
        throwFailure(errno);
    }
    std::error_code ignored;
    const std::filesystem::path resolved =
        exists ? std::filesystem::canonical(path, ignored) : linkTarget(path);
    if (resolved.filename().empty()) {
        throwFailure(ENOENT);
    }
    target = resolved;
    const int fd = TemporaryFiles::instance().create(
        resolved.parent_path().empty() ? std::filesystem::path(".") : resolved.parent_path(),
        resolved.filename().string(), temporary);
    if (fd < 0) {
        const int cause = errno;
        temporary.clear();
        if (exists && fileErrorCauseOf(cause, true) == fileErrorAccessDenied) {
            throw FileError(failureText(cause),
                            systemReason(cause) +
                                ": the folder cannot be written, and the file is replaced only "
                                "through a new one made beside it.");
        }
        throwFailure(cause);
    }
    if (exists) {
        // Where the owner cannot be kept (only root may give a file away), the group may
        // still be; chown clears the set-ID bits, so the mode comes after it. Where neither
        // can be copied the new file keeps the usual ones.
        if (fchown(fd, existing.st_uid, existing.st_gid) != 0) {
            static_cast<void>(fchown(fd, static_cast<uid_t>(-1), existing.st_gid));
        }
        fchmod(fd, existing.st_mode & 07777);
    }
    file = fdopen(fd, "wb");
    if (file == nullptr) {
        const int cause = errno;
        close(fd);
        discard();
        throwFailure(cause);
    }
}

void AtomicFile::openDescriptor(int descriptor) {
    const int fd = fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    if (fd < 0) {
        throwFailure(errno);
    }
    if ((fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDONLY) {
        close(fd);
        throwFailure(EBADF);
    }
    // "w" does not truncate a descriptor: what the shell opened for appending is appended to.
    file = fdopen(fd, "wb");
    if (file == nullptr) {
        const int cause = errno;
        close(fd);
        throwFailure(cause);
    }
}

AtomicFile::~AtomicFile() {
    discard();
}

void AtomicFile::commit() {
    // On the disk before the rename, so that a crash cannot leave the name on missing data.
    bool written = std::fflush(file) == 0 && (temporary.empty() || fsync(fileno(file)) == 0);
    int cause = errno;
    const bool closed = std::fclose(file) == 0;
    file = nullptr;
    if (written && !closed) {
        written = false;
        cause = errno;
    }
    if (written && !temporary.empty() &&
        TemporaryFiles::instance().rename(temporary, target) != 0) {
        written = false;
        cause = errno;
    }
    if (!written) {
        fail(cause);
    }
    temporary.clear();
}

void AtomicFile::fail(int errnoValue) {
    discard();
    throwFailure(errnoValue);
}

void AtomicFile::removeAllTemporaryFiles() {
    TemporaryFiles::instance().removeAll();
}

std::string AtomicFile::failureText(int errnoValue) const {
    return "File Path Name: <" + path + "> " + FileErrorText(fileErrorCauseOf(errnoValue, true));
}

void AtomicFile::throwFailure(int errnoValue) const {
    // The texts for these causes do not say which of several reasons it was.
    const int cause = fileErrorCauseOf(errnoValue, true);
    const bool vague =
        cause == fileErrorAccessDenied || (cause == fileErrorBadPath && errnoValue != ENOENT);
    throw FileError(failureText(errnoValue), vague ? systemReason(errnoValue) + "." : "");
}

void AtomicFile::discard() {
    if (file != nullptr) {
        std::fclose(file);
        file = nullptr;
    }
    if (!temporary.empty()) {
        TemporaryFiles::instance().remove(temporary);
        temporary.clear();
    }
}

bool writeFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& writer,
                         std::string& failureText) {
    try {
        AtomicFile file(path);
        if (!writer(file.stream())) {
            file.fail(errno);
        }
        file.commit();
        return true;
    } catch (const AppError& failure) {
        failureText = failure.what();
        return false;
    }
}

} // namespace veltro
