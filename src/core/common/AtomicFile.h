#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace veltro {

// A file written under a temporary name beside its target and renamed into place only by
// commit(), so that a failure or an interruption never leaves a partial file under the name.
// A new file gets the usual permissions (0666 less the umask); a replaced one keeps its own.
// Its owner and group are kept where the process may set them (as root). A file the user may
// not write is refused, as is one whose folder cannot take the new file. Through a link, the
// file it points to is replaced, or made where it is missing; a loop of links is refused. A
// device or a pipe (/dev/null, a named pipe) is written in place: renaming onto it would
// replace it. So is a name for a descriptor this process holds (/dev/stdout, /dev/fd/N,
// /proc/self/fd/N, or a link or a relative name leading to one), through that descriptor: the
// file behind it is the shell's (`>> log.txt`), opened as the shell chose.
// Failures throw FileError: "File Path Name: <path> " followed by the cause's text.
class AtomicFile {
public:
    explicit AtomicFile(const std::string& path);
    // Without a commit, the temporary file goes.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    std::FILE* stream() const { return file; }
    // Whether what is written goes straight to the file (a device, a pipe, a descriptor),
    // with nothing held back until the commit.
    bool writesInPlace() const { return target.empty(); }

    // Writes the data through to the disk, closes the file and renames it into place.
    void commit();
    // Gives up the file after a write failed with this errno value, and throws its failure.
    [[noreturn]] void fail(int errnoValue);

    // For a process that ends at once: removes the temporary file of every AtomicFile not yet
    // committed and lets no new one be made. Any thread may call it.
    static void removeAllTemporaryFiles();

private:
    void openDescriptor(int descriptor);
    std::string failureText(int errnoValue) const;
    [[noreturn]] void throwFailure(int errnoValue) const;
    void discard();

    std::string path;
    std::string target;
    std::string temporary; // empty when written in place
    std::FILE* file = nullptr;
};

// Writes a file through an AtomicFile. The writer returns false when writing failed (errno
// tells why); then nothing is replaced and failureText says what happened.
bool writeFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& writer,
                         std::string& failureText);

} // namespace veltro
