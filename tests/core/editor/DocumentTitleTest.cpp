#include "editor/DocumentTitle.h"

#include <gtest/gtest.h>

namespace veltro {
namespace {

TEST(DocumentTitle, OpenedFileShowsConnectionFileAndPreviewAndReducesBackToTheFile) {
    const std::string title =
        composeTitle("orders.qry", "Sales", titlePreviewSource("select * from orders", 0, 0));
    EXPECT_EQ(title, "Sales - orders.qry - (select * from o...)");
    EXPECT_EQ(bareFileTitle(title), "orders.qry");
}

TEST(DocumentTitle, ComposedOrUnconnectedTitlesStayAsProposed) {
    EXPECT_EQ(composeTitle("Sales - Untitled_1 - (New Query)", "Sales", "select 1"),
              "Sales - Untitled_1 - (New Query)");
    EXPECT_EQ(composeTitle("Untitled_2 - (New Query)", "Sales", "select 1"),
              "Untitled_2 - (New Query)");
    EXPECT_EQ(composeTitle("orders.qry", "", "select 1"), "orders.qry");
}

TEST(DocumentTitle, HyphenatedFileNameStillGetsConnectionAndPreview) {
    const std::string title = composeTitle("month-end.qry", "Sales", "select 1");
    EXPECT_EQ(title, "Sales - month-end.qry - (select 1)");
    EXPECT_EQ(bareFileTitle(title), "month-end.qry");
}

TEST(DocumentTitle, PreviewOfFifteenCharactersIsWholeAndOfSixteenIsCut) {
    EXPECT_EQ(composeTitle("a.qry", "c", "123456789012345"), "c - a.qry - (123456789012345)");
    EXPECT_EQ(composeTitle("a.qry", "c", "1234567890123456"), "c - a.qry - (123456789012345...)");
    // Fifteen characters, not bytes.
    std::string sixteen;
    for (int i = 0; i < 16; ++i) {
        sixteen += "ä";
    }
    EXPECT_EQ(composeTitle("a.qry", "c", sixteen),
              "c - a.qry - (" + sixteen.substr(0, 30) + "...)");
}

TEST(DocumentTitle, PreviewShowsLineBreaksAsBlanks) {
    EXPECT_EQ(composeTitle("a.qry", "c", "select\r\n1"), "c - a.qry - (select  1)");
}

TEST(DocumentTitle, PreviewUsesTheSelectionElseTheWholeTextElseNewQuery) {
    EXPECT_EQ(titlePreviewSource("select 1; select 2", 10, 18), "select 2");
    EXPECT_EQ(titlePreviewSource("select 1; select 2", 18, 10), "select 2");
    EXPECT_EQ(titlePreviewSource("select 1", 3, 3), "select 1");
    EXPECT_EQ(titlePreviewSource("", 0, 0), "New Query");
    EXPECT_EQ(titlePreviewSource("é ü x", 2, 3), "ü");
    const std::string longText(30000, 'x');
    EXPECT_EQ(titlePreviewSource(longText + "y", 5, 30001).size(), 29996U);
}

TEST(DocumentTitle, BareTitleOfPlainNamesIsUnchanged) {
    EXPECT_EQ(bareFileTitle("orders.qry"), "orders.qry");
    EXPECT_EQ(bareFileTitle("Sales - Untitled_3 - (New Query)"), "Untitled_3");
}

} // namespace
} // namespace veltro
