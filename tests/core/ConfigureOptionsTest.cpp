// What the Configure sheet shows for stored values and what its OK accepts.
#include "options/ConfigureOptions.h"
#include "settings/MemorySettingsStore.h"

#include <gtest/gtest.h>

namespace veltro {
namespace {

TEST(ConfigureOptions, StoredValuesOutsideTheirRangeLoadAsTheDefault) {
    struct Case {
        const NumberOption& option;
        const char* stored;
        int shown;
    };
    const Case cases[] = {
        {queryTimeoutOption, nullptr, 0},     {queryTimeoutOption, "100000", 0},
        {queryTimeoutOption, "-5", 0},        {queryTimeoutOption, "99999", 99999},
        {rowsetSizeOption, nullptr, 100},     {rowsetSizeOption, "0", 100},
        {rowsetSizeOption, "500000", 500000}, {rowsetSizeOption, "1000000", 100},
        {loginTimeoutOption, "100000", 0},    {loginTimeoutOption, "30", 30},
    };
    for (const Case& c : cases) {
        MemorySettingsStore settings;
        if (c.stored != nullptr) {
            settings.writeText("Configure", c.option.entry, c.stored);
        }
        EXPECT_EQ(loadNumberOption(settings, c.option), c.shown)
            << c.option.entry << " " << (c.stored != nullptr ? c.stored : "missing");
    }
}

TEST(ConfigureOptions, ThePriorityListSelectsTheFirstNameTheStoredTextBegins) {
    MemorySettingsStore settings;
    EXPECT_EQ(loadThreadPriority(settings), "Lowest");
    settings.writeText("Configure", "ThreadPriority", "   ");
    EXPECT_EQ(loadThreadPriority(settings), "Lowest");
    settings.writeText("Configure", "ThreadPriority", " normal ");
    EXPECT_EQ(loadThreadPriority(settings), "normal");
    EXPECT_EQ(threadPriorityPosition("normal"), 3u);
    EXPECT_EQ(threadPriorityPosition("above"), 2u);
    EXPECT_EQ(threadPriorityPosition("Realtime"), std::nullopt);
    EXPECT_FALSE(priorityNeedsConfirmation("LOWEST"));
    EXPECT_TRUE(priorityNeedsConfirmation("Highest"));
}

TEST(ConfigureOptions, OkChecksLengthsThenEmptyBoxesThenRanges) {
    struct Case {
        std::string queryTimeout;
        std::string rowsetSize;
        std::optional<std::size_t> failedBox;
        std::string message;
    };
    const Case cases[] = {
        {"30", "100", std::nullopt, ""},
        {" 0 ", "349999", std::nullopt, ""},
        {"12x", "7", std::nullopt, ""},
        {"   ", "", 0, "<Query Timeout> is a required field. The default value is Zero."},
        {"-1", "", 1, "<Rowset Size> is a required field. The default value is 25."},
        {"-1", "500000", 0, "Please enter an integer between 0 and 99999."},
        {"5", "500000", 1, "Please enter an integer between 1 and 349999."},
        {"5", "0", 1, "Please enter an integer between 1 and 349999."},
        {"", "1234567", 1, "Please enter no more than 6 characters."},
    };
    for (const Case& c : cases) {
        const NumberBoxCheck check = checkNumberBoxes(
            {{&queryTimeoutOption, c.queryTimeout}, {&rowsetSizeOption, c.rowsetSize}});
        const std::string where = "'" + c.queryTimeout + "', '" + c.rowsetSize + "'";
        if (!c.failedBox) {
            EXPECT_FALSE(check.problem) << where;
            continue;
        }
        ASSERT_TRUE(check.problem) << where;
        EXPECT_EQ(check.problem->box, *c.failedBox) << where;
        EXPECT_EQ(check.problem->message, c.message) << where;
    }
    EXPECT_EQ(checkNumberBoxes({{&queryTimeoutOption, " 12x"}, {&rowsetSizeOption, "7"}}).values,
              (std::vector<int>{12, 7}));
}

} // namespace
} // namespace veltro
