// A descriptor has one owner: moving it hands it on, and only its last owner closes it.
#include "common/FileDescriptor.h"

#include <gtest/gtest.h>

#include <fcntl.h>

namespace veltro {
namespace {

bool isOpen(int fd) {
    return ::fcntl(fd, F_GETFD) != -1;
}

TEST(FileDescriptor, MovingHandsTheDescriptorOnAndItIsClosedOnce) {
    const int first = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int second = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    {
        FileDescriptor owner(first);
        FileDescriptor taken(std::move(owner));
        EXPECT_EQ(owner.get(), -1);
        EXPECT_EQ(taken.get(), first);

        FileDescriptor other(second);
        other = std::move(taken);
        // The descriptor it held is closed; the moved-from one closes nothing.
        EXPECT_FALSE(isOpen(second));
        EXPECT_EQ(other.get(), first);
        EXPECT_EQ(taken.get(), -1);
        EXPECT_TRUE(isOpen(first));
    }
    EXPECT_FALSE(isOpen(first));
}

} // namespace
} // namespace veltro
