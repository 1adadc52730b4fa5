#include "cli/CommandLine.h"

#include <gtest/gtest.h>

namespace veltro {
namespace {

TEST(CommandLine, UnderstoodArguments) {
    EXPECT_FALSE(parseCommandLine({}).invalid);
    const CommandLine full = parseCommandLine({"q.qry", "--connect", "Driver=SQLite3;Database=x"});
    EXPECT_FALSE(full.invalid);
    EXPECT_EQ(full.fileToOpen, std::optional<std::string>("q.qry"));
    EXPECT_EQ(full.connectString, std::optional<std::string>("Driver=SQLite3;Database=x"));
    EXPECT_TRUE(parseCommandLine({"--help"}).help);
    EXPECT_TRUE(parseCommandLine({"--version"}).version);

    const CommandLine headless = parseCommandLine({"--connect", "c", "--execute", "-", "--export",
                                                   "o.csv", "--delimiter", "none", "--no-header"});
    EXPECT_FALSE(headless.invalid);
    EXPECT_EQ(headless.executeFile, std::optional<std::string>("-"));
    EXPECT_EQ(headless.exportTarget, "o.csv");
    EXPECT_EQ(headless.delimiter, "");
    EXPECT_FALSE(headless.header);
    const CommandLine defaults = parseCommandLine({"--connect", "c", "--execute", "q.sql"});
    EXPECT_EQ(defaults.exportTarget, "-");
    EXPECT_EQ(defaults.delimiter, "\t");
    EXPECT_TRUE(defaults.header);
}

TEST(CommandLine, AnythingElseIsRefused) {
    EXPECT_TRUE(parseCommandLine({"--bogus"}).invalid);
    EXPECT_TRUE(parseCommandLine({"--connect"}).invalid);
    EXPECT_TRUE(parseCommandLine({"a.qry", "b.qry"}).invalid);
    EXPECT_TRUE(parseCommandLine({"--connect", "x", "--connect", "y"}).invalid);
    EXPECT_TRUE(parseCommandLine({"--execute", "q.sql"}).invalid);
    EXPECT_TRUE(parseCommandLine({"--connect", "c", "--execute", "q", "a.qry"}).invalid);
    EXPECT_TRUE(parseCommandLine({"--connect", "c", "--no-header"}).invalid);
    EXPECT_TRUE(parseCommandLine({"--connect", "c", "--execute", "q", "--delimiter"}).invalid);
    EXPECT_EQ(std::string(usageText), "Usage: Standard shell commands, DDE, and file open only.");
}

} // namespace
} // namespace veltro
