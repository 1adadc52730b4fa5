#include "editor/GoToLine.h"

#include <gtest/gtest.h>

namespace veltro {
namespace {

TEST(GoToLine, ZeroGoesToLineOneAndTheEditShowsOne) {
    const GoToTarget target = resolveGoToTarget(GoToMode::entered, 0, 5, 10);
    EXPECT_EQ(target.line, 1);
    EXPECT_EQ(target.editText, "1");
}

TEST(GoToLine, BeyondTheEndOrNegativeGoesToTheLastLine) {
    GoToTarget target = resolveGoToTarget(GoToMode::entered, 11, 0, 10);
    EXPECT_EQ(target.line, 10);
    EXPECT_EQ(target.editText, "10");
    target = resolveGoToTarget(GoToMode::entered, -3, 0, 10);
    EXPECT_EQ(target.line, 10);
    EXPECT_EQ(target.editText, "10");
}

TEST(GoToLine, LinesInRangeAreTakenAsEnteredWithoutTouchingTheEdit) {
    const GoToTarget target = resolveGoToTarget(GoToMode::entered, 10, 0, 10);
    EXPECT_EQ(target.line, 10);
    EXPECT_FALSE(target.editText);
}

TEST(GoToLine, NextAndPreviousMoveOneLineAndStopAtTheEdges) {
    EXPECT_EQ(resolveGoToTarget(GoToMode::next, 0, 3, 10).line, 5);     // line 4 -> 5
    EXPECT_EQ(resolveGoToTarget(GoToMode::previous, 0, 3, 10).line, 3); // line 4 -> 3
    const GoToTarget top = resolveGoToTarget(GoToMode::previous, 7, 0, 10);
    EXPECT_EQ(top.line, 1);
    EXPECT_EQ(top.editText, "1");
    const GoToTarget bottom = resolveGoToTarget(GoToMode::next, 0, 9, 10);
    EXPECT_EQ(bottom.line, 10);
    EXPECT_EQ(bottom.editText, "10");
}

TEST(GoToLine, EditTextReadsLikeAnIntegerAfterTrimming) {
    EXPECT_EQ(parseLineNumber("  42  "), 42);
    EXPECT_EQ(parseLineNumber("12abc"), 12);
    EXPECT_EQ(parseLineNumber("abc"), 0);
    EXPECT_EQ(parseLineNumber(""), 0);
    EXPECT_EQ(parseLineNumber("-4"), -4);
    EXPECT_GT(parseLineNumber("99999999999999999999"), 1000000);
}

TEST(GoToLine, CaretPaneText) {
    EXPECT_EQ(caretPaneText(3, 1), "Ln 3, Col 1");
}

} // namespace
} // namespace veltro
