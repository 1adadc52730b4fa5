#pragma once

#include <cstdio>
#include <string>

namespace veltro {

// Gathers text and writes it to a file in blocks of about a megabyte. The first failed
// write is kept (its errno value); what comes after it is dropped.
class BlockWriter {
public:
    explicit BlockWriter(std::FILE* file);

    std::string& text() { return buffer; }

    // Writes the gathered text once there is a block of it.
    bool flushIfFull() { return buffer.size() < blockSize || flush(); }
    // Writes all gathered text and flushes the file.
    bool flush();
    // 0, or the errno value of the first failed write.
    int failure() const { return failedWith; }

private:
    static constexpr std::size_t blockSize = std::size_t{1} << 20;

    std::FILE* file;
    std::string buffer;
    int failedWith = 0;
};

} // namespace veltro
