#include "results/GridMemoryBudget.h"

#include <unistd.h>

#include <atomic>

namespace veltro {

namespace {

std::uint64_t halfOfPhysicalMemory() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) {
        return std::uint64_t{1} << 31;
    }
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize) / 2;
}

std::atomic<std::uint64_t> limitBytes{halfOfPhysicalMemory()};
std::atomic<std::uint64_t> usedBytes{0};

} // namespace

std::uint64_t GridMemoryBudget::limit() {
    return limitBytes;
}

void GridMemoryBudget::setLimit(std::uint64_t bytes) {
    limitBytes = bytes;
}

void GridMemoryBudget::resetLimit() {
    limitBytes = halfOfPhysicalMemory();
}

std::uint64_t GridMemoryBudget::used() {
    return usedBytes;
}

bool GridMemoryBudget::fits(std::uint64_t bytes) {
    return usedBytes + bytes <= limitBytes;
}

bool GridMemoryBudget::reserve(std::uint64_t bytes) {
    std::uint64_t current = usedBytes;
    do {
        if (current + bytes > limitBytes) {
            return false;
        }
    } while (!usedBytes.compare_exchange_weak(current, current + bytes));
    return true;
}

void GridMemoryBudget::release(std::uint64_t bytes) {
    usedBytes -= bytes;
}

} // namespace veltro
