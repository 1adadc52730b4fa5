#include "settings/PaneFont.h"
#include "settings/MemorySettingsStore.h"

#include <gtest/gtest.h>

namespace veltro {
namespace {

TEST(PaneFont, MissingOrZeroHeightReadsAsNothingStored) {
    MemorySettingsStore store;
    LogicalFont font;
    font.faceName = "Courier";
    font.height = -15;
    EXPECT_FALSE(readPaneFont(store, resultFontSection, font));
    EXPECT_EQ(font.faceName, "Courier");
    EXPECT_EQ(font.height, -15);

    store.writeInt(resultFontSection, "Height", 0);
    store.writeText(resultFontSection, "FaceName", "Arial");
    store.writeInt(resultFontSection, "Weight", 700);
    EXPECT_FALSE(readPaneFont(store, resultFontSection, font));
    EXPECT_EQ(font.faceName, "Courier");
    EXPECT_EQ(font.weight, 0);
}

TEST(PaneFont, ReadsStoredEntriesWithDefaults) {
    MemorySettingsStore store;
    store.writeInt(queryFontSection, "Height", -13);
    LogicalFont font;
    EXPECT_TRUE(readPaneFont(store, queryFontSection, font));
    EXPECT_EQ(font.height, -13);
    EXPECT_EQ(font.charSet, 1);
    EXPECT_EQ(font.faceName, "System");
    EXPECT_EQ(font.weight, 0);
}

TEST(PaneFont, LongFaceNameReadsBackCutTo31) {
    MemorySettingsStore store;
    store.writeInt(gridFontSection, "Height", -12);
    store.writeText(gridFontSection, "FaceName", std::string(40, 'F'));
    LogicalFont font;
    EXPECT_TRUE(readPaneFont(store, gridFontSection, font));
    EXPECT_EQ(font.faceName, std::string(31, 'F'));
}

TEST(PaneFont, WriteThenReadRoundTripsWithGridExtras) {
    MemorySettingsStore store;
    LogicalFont written;
    written.height = -16;
    written.weight = 700;
    written.italic = 1;
    written.underline = 1;
    written.pitchAndFamily = 49;
    written.charSet = 0;
    written.faceName = "DejaVu Sans Mono";
    const GridFontExtras extras{1, 120000};
    writePaneFont(store, gridFontSection, written, &extras);

    LogicalFont read;
    GridFontExtras readExtras;
    EXPECT_TRUE(readPaneFont(store, gridFontSection, read, &readExtras));
    EXPECT_EQ(read.height, -16);
    EXPECT_EQ(read.weight, 700);
    EXPECT_EQ(read.italic, 1);
    EXPECT_EQ(read.underline, 1);
    EXPECT_EQ(read.pitchAndFamily, 49);
    EXPECT_EQ(read.charSet, 0);
    EXPECT_EQ(read.faceName, "DejaVu Sans Mono");
    EXPECT_EQ(readExtras.bold, 1);
    EXPECT_EQ(readExtras.size, 120000);

    // The query and result fonts keep no grid extras.
    writePaneFont(store, queryFontSection, written);
    EXPECT_FALSE(store.contains(queryFontSection, "Bold"));
    EXPECT_FALSE(store.contains(queryFontSection, "Size"));
}

TEST(PaneFont, WritingHeightZeroLeavesSectionUntouched) {
    MemorySettingsStore store;
    store.writeInt(queryFontSection, "Height", -11);
    store.writeText(queryFontSection, "FaceName", "Mono");
    LogicalFont empty;
    empty.faceName = "Other";
    writePaneFont(store, queryFontSection, empty);
    EXPECT_EQ(store.readInt(queryFontSection, "Height", 0), -11);
    EXPECT_EQ(store.readText(queryFontSection, "FaceName", ""), "Mono");
    EXPECT_EQ(store.size(), 2u);
}

} // namespace
} // namespace veltro
