#include "results/BlockWriter.h"

#include <cerrno>

namespace veltro {

BlockWriter::BlockWriter(std::FILE* out) : file(out) {
    buffer.reserve(blockSize + 4096);
}

bool BlockWriter::flush() {
    if (failedWith == 0) {
        if (std::fwrite(buffer.data(), 1, buffer.size(), file) != buffer.size() ||
            std::fflush(file) != 0) {
            failedWith = errno != 0 ? errno : EIO;
        }
    }
    buffer.clear();
    return failedWith == 0;
}

} // namespace veltro
