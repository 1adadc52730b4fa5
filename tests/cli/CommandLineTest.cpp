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
}

TEST(CommandLine, AnythingElseIsRefused) {
    EXPECT_TRUE(parseCommandLine({"--bogus"}).invalid);
    EXPECT_TRUE(parseCommandLine({"--connect"}).invalid);
    EXPECT_TRUE(parseCommandLine({"a.qry", "b.qry"}).invalid);
    EXPECT_TRUE(parseCommandLine({"--connect", "x", "--connect", "y"}).invalid);
    EXPECT_EQ(std::string(usageText), "Usage: Standard shell commands, DDE, and file open only.");
}

} // namespace
} // namespace veltro
