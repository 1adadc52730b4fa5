#include "results/TextChunk.h"

#include <sys/mman.h>

#include <new>

namespace veltro {

TextChunk::TextChunk(std::size_t size) {
    const bool huge = size == hugePageSize;
    memory.reset(
        static_cast<char*>(huge ? std::aligned_alloc(hugePageSize, size) : std::malloc(size)));
    if (!memory) {
        throw std::bad_alloc();
    }
    if (huge) {
        // A refusal (huge pages off, an old kernel) leaves small pages, which work as well.
        (void)madvise(memory.get(), size, MADV_HUGEPAGE);
    }
}

} // namespace veltro
