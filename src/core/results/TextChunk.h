#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>

namespace veltro {

// One chunk of a grid's text arena, uninitialised. A chunk of a huge page's size is aligned
// to one and offered to the kernel as one (transparent huge pages, "madvise" by default): a
// grid of a million rows fills hundreds of megabytes, and with 4 KiB pages it would take a
// page fault every 4 KiB, which costs most where the machine is virtual.
class TextChunk {
public:
    static constexpr std::size_t hugePageSize = std::size_t{2} << 20;

    // Throws std::bad_alloc.
    explicit TextChunk(std::size_t size);

    char* data() const { return memory.get(); }

private:
    struct Free {
        void operator()(char* bytes) const { std::free(bytes); }
    };
    std::unique_ptr<char, Free> memory;
};

} // namespace veltro
