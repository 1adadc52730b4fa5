#include "common/Utf8.h"
#include "session/ExecTime.h"
#include "session/ThreadPriority.h"

#include <gtest/gtest.h>

namespace veltro {
namespace {

TEST(ExecTime, HoursStayWithinADay) {
    EXPECT_EQ(formatExecTime(0), "Exec time: 00:00:00");
    EXPECT_EQ(formatExecTime(999), "Exec time: 00:00:00");
    EXPECT_EQ(formatExecTime(61'500), "Exec time: 00:01:01");
    EXPECT_EQ(formatExecTime((23 * 3600 + 59 * 60 + 59) * 1000ULL), "Exec time: 23:59:59");
    EXPECT_EQ(formatExecTime(25 * 3600 * 1000ULL + 5000), "Exec time: 01:00:05");
}

TEST(ThreadPriority, NamesMapWithoutRegardToCase) {
    EXPECT_EQ(threadPriorityLevel("Time critical"), 15);
    EXPECT_EQ(threadPriorityLevel("HIGHEST"), 2);
    EXPECT_EQ(threadPriorityLevel("above normal"), 1);
    EXPECT_EQ(threadPriorityLevel("Normal"), 0);
    EXPECT_EQ(threadPriorityLevel("Below Normal"), -1);
    EXPECT_EQ(threadPriorityLevel("Lowest"), -2);
    EXPECT_EQ(threadPriorityLevel(""), -2);
    EXPECT_EQ(threadPriorityLevel("Normal "), -2);
    EXPECT_EQ(threadPriorityLevel("Idle"), -2);
}

TEST(Utf8Prefix, NeverSplitsACharacter) {
    EXPECT_EQ(utf8Prefix("abcdef", 3), "abc");
    EXPECT_EQ(utf8Prefix("ab", 3), "ab");
    EXPECT_EQ(utf8Prefix("äöüß", 2), "äö");
    EXPECT_EQ(utf8Prefix("a€b", 2), "a€");
    EXPECT_EQ(utf8Prefix("", 0), "");
}

} // namespace
} // namespace veltro
