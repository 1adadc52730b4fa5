// The list rules that need no window: shortening, delimited rows, sorting.
#include "catalog/ListRules.h"

#include <gtest/gtest.h>

#include <clocale>

namespace veltro {
namespace {

// Ten pixels a character, four a dot, so "..." is 12 pixels wide.
int measure(std::string_view text) {
    int width = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            width += text[i] == '.' ? 4 : 10;
        }
    }
    return width;
}

TEST(ListRules, CellsAreShortenedToTheirLongestFittingBeginning) {
    struct Case {
        std::string text;
        int width;
        int allowance;
        std::string drawn;
        bool shortened;
    };
    const std::vector<Case> cases = {
        {"", 0, 12, "", false},
        {"abc", 42, 12, "abc", false},
        {"abcdefghij", 80, 12, "abcde...", true},
        {"abcdefghij", 0, 4, "a...", true},
        {"éééééé", 50, 4, "ééé...", true},
    };
    for (const Case& c : cases) {
        const DrawnText drawn = shortenedText(c.text, c.width, c.allowance, measure);
        EXPECT_EQ(drawn.text, c.drawn) << c.text << " in " << c.width;
        EXPECT_EQ(drawn.shortened, c.shortened) << c.text << " in " << c.width;
    }
    // A cell is read into 260 characters, terminator included.
    EXPECT_EQ(shortenedText(std::string(300, 'x'), 100000, 12, measure).text,
              std::string(259, 'x'));
}

TEST(ListRules, EveryCellEndsWithABar) {
    std::string line = "a|b|c|";
    EXPECT_EQ(takeDelimitedCells(line), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(line, "");
    line = "a||c";
    EXPECT_EQ(takeDelimitedCells(line), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(line, "c");
    line = "abc";
    EXPECT_TRUE(takeDelimitedCells(line).empty());
    EXPECT_EQ(line, "abc");
}

TEST(ListRules, SortingIgnoresCaseAndKeepsEqualRowsInOrder) {
    const std::vector<std::string> texts = {"beta", "Alpha", "alpha", "Gamma", "BETA"};
    EXPECT_EQ(sortedOrder(texts, true), (std::vector<std::size_t>{1, 2, 0, 4, 3}));
    EXPECT_EQ(sortedOrder(texts, false), (std::vector<std::size_t>{3, 0, 4, 1, 2}));
    EXPECT_EQ(compareNoCase("ab", "abc"), -1);
    EXPECT_EQ(compareNoCase("Ab", "aB"), 0);
}

TEST(ListRules, CaseOfLettersBeyondAsciiIsIgnoredCharacterByCharacter) {
    const std::string previous = std::setlocale(LC_CTYPE, nullptr);
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
    EXPECT_EQ(compareNoCase("Äpfel", "äPFEL"), 0);
    EXPECT_LT(compareNoCase("zebra", "Äpfel"), 0);
    std::setlocale(LC_CTYPE, previous.c_str());
}

} // namespace
} // namespace veltro
