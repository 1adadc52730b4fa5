#include "app/WindowPlacement.h"

#include <gtest/gtest.h>

namespace veltro {
namespace {

TEST(WindowPlacement, TenNumbersRoundTrip) {
    WindowPlacement p;
    p.flags = 2;
    p.showCommand = 3;
    p.left = 10;
    p.top = 20;
    p.right = 810;
    p.bottom = 620;
    const std::string text = formatWindowPlacement(p);
    EXPECT_EQ(text, "2,3,-1,-1,-1,-1,10,20,810,620");
    const auto read = parseWindowPlacement(text);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->flags, 2u);
    EXPECT_EQ(read->bottom, 620);
}

TEST(WindowPlacement, AnythingButTenNumbersIsIgnored) {
    EXPECT_FALSE(parseWindowPlacement("0,1,-1,-1,-1,-1,10,20,810").has_value());
    EXPECT_FALSE(parseWindowPlacement("0,1,-1,-1,-1,-1,10,20,810,620,5").has_value());
    EXPECT_FALSE(parseWindowPlacement("0,1,-1,-1,-1,-1,10,20,810,x").has_value());
    EXPECT_FALSE(parseWindowPlacement("").has_value());
    EXPECT_FALSE(parseWindowPlacement("0,1,-1,-1,-1,-1,10,20,810,").has_value());
}

TEST(WindowPlacement, NormalStartKeepsAStoredMaximizedState) {
    WindowPlacement stored;
    stored.showCommand = showCommandMaximized;
    EXPECT_EQ(startShowCommand(stored, showCommandNormal), showCommandMaximized);
    EXPECT_EQ(startShowCommand(stored, showCommandMinimized), showCommandMinimized);
}

} // namespace
} // namespace veltro
