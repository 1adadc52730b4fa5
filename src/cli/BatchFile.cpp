#include "cli/BatchFile.h"

#include "common/AppError.h"
#include "common/FileDescriptor.h"
#include "common/FileErrorText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace veltro {

namespace {

AppError readFailure(const std::string& name, const std::string& cause) {
    return AppError("cannot read " + name + ": " + cause);
}

AppError readFailure(const std::string& name, int errnoValue) {
    return readFailure(name, FileErrorText(fileErrorCauseOf(errnoValue, false)));
}

std::string readAll(int fd, const std::string& name) {
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        throw readFailure(name, errno);
    }
    if (S_ISDIR(info.st_mode)) {
        throw readFailure(name, "It is a folder.");
    }
    std::string text;
    std::array<char, 65536> block{};
    while (true) {
        const ssize_t count = read(fd, block.data(), block.size());
        if (count > 0) {
            text.append(block.data(), static_cast<std::size_t>(count));
        } else if (count == 0) {
            return text;
        } else if (errno != EINTR) {
            throw readFailure(name, errno);
        }
    }
}

} // namespace

std::string readBatchFile(const std::string& source) {
    std::string text;
    const std::string name = source == "-" ? "standard input" : source;
    if (source == "-") {
        text = readAll(STDIN_FILENO, name);
    } else {
        const FileDescriptor file(open(source.c_str(), O_RDONLY | O_CLOEXEC));
        if (file.get() < 0) {
            throw readFailure(name, errno);
        }
        text = readAll(file.get(), name);
    }
    if (const auto nul = text.find('\0'); nul != std::string::npos) {
        throw AppError(name + " holds a NUL byte (at offset " + std::to_string(nul) +
                       "), which SQL text cannot hold; nothing was executed.");
    }
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.erase(0, 3);
    }
    if (text.find_first_not_of(" \t\r\n\f\v") == std::string::npos) {
        throw AppError("nothing to execute: " + name + " holds no SQL text.");
    }
    return text;
}

} // namespace veltro
