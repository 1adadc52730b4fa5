#include "TestDatabases.h"

#include "app/QtSettingsStore.h"
#include "settings/PaneFont.h"

#include <gtest/gtest.h>

namespace veltro {
namespace {

TEST(QtSettingsStore, SectionsWithSubsectionsSurviveAReopen) {
    const QString file =
        QString::fromStdString((test::workFolder("qtsettings") / "v.ini").string());
    {
        QtSettingsStore store(file);
        LogicalFont font;
        font.height = -15;
        font.faceName = "Courier";
        writePaneFont(store, resultFontSection, font);
        store.writeText("Configure", "ThreadPriority", "Normal");
        store.writeInt("Query", "WrapWord", 1);
    }
    QtSettingsStore reopened(file);
    LogicalFont font;
    ASSERT_TRUE(readPaneFont(reopened, resultFontSection, font));
    EXPECT_EQ(font.height, -15);
    EXPECT_EQ(font.faceName, "Courier");
    EXPECT_EQ(reopened.readText("Configure", "ThreadPriority", ""), "Normal");
    EXPECT_EQ(reopened.readInt("Query", "WrapWord", 0), 1);
    // The result font lives apart from the query section's own entries.
    EXPECT_EQ(reopened.readInt("Query\\Font", "Height", 0), 0);
}

TEST(QtSettingsStore, NonNumericIntegerEntryReadsAsDefault) {
    const QString file =
        QString::fromStdString((test::workFolder("qtsettings2") / "v.ini").string());
    QtSettingsStore store(file);
    store.writeText("Configure", "QueryTimeOut", "soon");
    EXPECT_EQ(store.readInt("Configure", "QueryTimeOut", 0), 0);
    EXPECT_EQ(store.readInt("Configure", "Missing", 7), 7);
}

} // namespace
} // namespace veltro
