#include "common/AtomicFile.h"

#include "common/AppError.h"
#include "common/FileErrorText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

} // namespace

AtomicFile::AtomicFile(const std::string& path) : path(path) {
    std::error_code ignored;
    const auto existing = std::filesystem::status(path, ignored);
    const bool exists = std::filesystem::exists(existing);
    if (exists && !std::filesystem::is_regular_file(existing)) {
        file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) {
            throwFailure(errno);
        }
        return;
    }
    const std::filesystem::path resolved =
        exists ? std::filesystem::canonical(path, ignored) : std::filesystem::path(path);
    target = resolved;
    const int fd = TemporaryFiles::instance().create(
        resolved.parent_path().empty() ? std::filesystem::path(".") : resolved.parent_path(),
        resolved.filename().string(), temporary);
    if (fd < 0) {
        temporary.clear();
        throwFailure(errno);
    }
    if (exists) {
        // Where the permissions cannot be copied the new file keeps the usual ones.
        fchmod(fd, static_cast<mode_t>(existing.permissions()) & 07777);
    }
    file = fdopen(fd, "wb");
    if (file == nullptr) {
        const int cause = errno;
        close(fd);
        discard();
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

void AtomicFile::throwFailure(int errnoValue) const {
    throw AppError("File Path Name: <" + path + "> " +
                   FileErrorText(fileErrorCauseOf(errnoValue, true)));
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
