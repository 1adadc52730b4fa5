// The unified line diff, checked against what GNU diff -u prints for the same texts.
#include "common/LineDiff.h"

#include <gtest/gtest.h>

namespace veltro {
namespace {

std::vector<std::string> numbers(int from, int to) {
    std::vector<std::string> lines;
    for (int i = from; i <= to; ++i) {
        lines.push_back(std::to_string(i));
    }
    return lines;
}

TEST(LineDiff, HunksWithThreeLinesOfContextAsDiffPrintsThem) {
    std::vector<std::string> after = numbers(0, 21);
    after[5] = "five";
    after.erase(after.begin() + 12);
    // Changes six lines apart share a hunk; the last one stands alone.
    EXPECT_EQ(unifiedDiff(numbers(1, 20), after, "a/X", "b/Y"),
              "--- a/X\n+++ b/Y\n"
              "@@ -1,15 +1,15 @@\n+0\n 1\n 2\n 3\n 4\n-5\n+five\n 6\n 7\n 8\n 9\n 10\n 11\n-12\n"
              " 13\n 14\n 15\n"
              "@@ -18,3 +18,4 @@\n 18\n 19\n 20\n+21\n");
}

TEST(LineDiff, EmptySidesAndEqualTexts) {
    EXPECT_EQ(unifiedDiff({}, {"x"}, "a", "b"), "--- a\n+++ b\n@@ -0,0 +1 @@\n+x\n");
    EXPECT_EQ(unifiedDiff({"x"}, {}, "a", "b"), "--- a\n+++ b\n@@ -1 +0,0 @@\n-x\n");
    EXPECT_EQ(unifiedDiff(numbers(1, 5), numbers(1, 5), "a", "b"), "");
    EXPECT_EQ(splitLines("a\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(splitLines("a"), (std::vector<std::string>{"a"}));
}

} // namespace
} // namespace veltro
