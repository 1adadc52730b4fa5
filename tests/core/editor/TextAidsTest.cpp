#include "editor/TextAids.h"

#include <gtest/gtest.h>

namespace veltro {
namespace {

TEST(TextAids, TabifyReplacesRunsOfFourBlanksLeftToRightWithoutOverlap) {
    EXPECT_EQ(applyTextAid(TextAid::tabify, "         "), "\t\t ");
    EXPECT_EQ(applyTextAid(TextAid::tabify, "   x"), "   x");
    EXPECT_EQ(applyTextAid(TextAid::tabify, "a    b       c"), "a\tb\t   c");
    EXPECT_EQ(applyTextAid(TextAid::tabify, "\t    "), "\t\t");
}

TEST(TextAids, UntabifyGivesFourBlanksPerTab) {
    EXPECT_EQ(applyTextAid(TextAid::untabify, "\tselect\t\tx"), "    select        x");
    EXPECT_EQ(applyTextAid(TextAid::untabify, "no tabs"), "no tabs");
}

TEST(TextAids, UntabifyThenTabifyRestoresTextWithoutBlanks) {
    const std::string text = "select\t*\nfrom\t\torders;";
    EXPECT_EQ(applyTextAid(TextAid::tabify, applyTextAid(TextAid::untabify, text)), text);
}

TEST(TextAids, CaseChangeCoversLettersBeyondAscii) {
    EXPECT_EQ(applyTextAid(TextAid::upperCase, "select größe from t"), "SELECT GRÖßE FROM T");
    EXPECT_EQ(applyTextAid(TextAid::lowerCase, "WHERE NAME = 'ÅSA'"), "where name = 'åsa'");
    // Characters without case, and stray bytes, pass unchanged.
    EXPECT_EQ(applyTextAid(TextAid::upperCase, "x\xff\t1 €"), "X\xff\t1 €");
}

TEST(TextAids, LongSelectionChangesCaseLikeAShortOne) {
    std::string text;
    while (text.size() < 60000) {
        text += "select a, b from tälle where x = 'ü';\n";
    }
    text.resize(60000);
    const std::string upper = applyTextAid(TextAid::upperCase, text);
    ASSERT_EQ(characterCount(upper), characterCount(text));
    const std::string shortUpper = applyTextAid(TextAid::upperCase, text.substr(0, 38));
    EXPECT_EQ(upper.substr(0, shortUpper.size()), shortUpper);
    EXPECT_EQ(upper.find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos);
    EXPECT_EQ(applyTextAid(TextAid::lowerCase, upper).substr(0, 38),
              applyTextAid(TextAid::lowerCase, text.substr(0, 38)));
}

TEST(TextAids, NewSelectionCoversTheReplacementInCharacters) {
    const SelectionEdit tabbed = editSelection(TextAid::tabify, "        é", 10);
    EXPECT_EQ(tabbed.replacement, "\t\té");
    EXPECT_EQ(tabbed.selectionStart, 10U);
    EXPECT_EQ(tabbed.selectionEnd, 13U);
    const SelectionEdit spaced = editSelection(TextAid::untabify, "ä\t", 0);
    EXPECT_EQ(spaced.selectionEnd, 5U);
}

TEST(TextAids, PositionsCountCharactersNotBytes) {
    const std::string text = "aé€😀b";
    EXPECT_EQ(characterCount(text), 5U);
    EXPECT_EQ(byteOffsetOfCharacter(text, 2), 3U);
    EXPECT_EQ(byteOffsetOfCharacter(text, 4), 10U);
    EXPECT_EQ(byteOffsetOfCharacter(text, 9), text.size());
}

} // namespace
} // namespace veltro
