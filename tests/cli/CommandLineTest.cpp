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

TEST(CommandLine, NullTextAndConnectStringFromTheEnvironment) {
    EXPECT_EQ(parseCommandLine({"--connect", "c", "--execute", "-", "--null", "NULL"}).nullText,
              "NULL");
    EXPECT_EQ(parseCommandLine({"--connect", "c", "--execute", "-"}).nullText, "");
    EXPECT_TRUE(parseCommandLine({"--connect", "c", "--null", "x"}).invalid);

    EXPECT_EQ(parseCommandLine({"--execute", "-"}, "env").connectString,
              std::optional<std::string>("env"));
    EXPECT_EQ(parseCommandLine({"--connect", "c", "--execute", "-"}, "env").connectString,
              std::optional<std::string>("c"));
    EXPECT_TRUE(parseCommandLine({"--execute", "-"}, "").invalid);
    // The window's start-up does not take it.
    EXPECT_FALSE(parseCommandLine({}, "env").connectString.has_value());
}

TEST(CommandLine, DriverInfoReportOptions) {
    const CommandLine report = parseCommandLine({"--driver-info", "--output", "r.txt"}, "env");
    EXPECT_FALSE(report.invalid);
    EXPECT_TRUE(report.driverInfo);
    EXPECT_EQ(report.outputTarget, "r.txt");
    EXPECT_EQ(report.connectString, std::optional<std::string>("env"));
    const CommandLine diff = parseCommandLine({"--connect", "a", "--driver-info", "--diff", "b"});
    EXPECT_FALSE(diff.invalid);
    EXPECT_EQ(diff.outputTarget, "-");
    EXPECT_EQ(diff.diffConnectString, std::optional<std::string>("b"));

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--driver-info"},
             {"--connect", "a", "--output", "r.txt"},
             {"--connect", "a", "--diff", "b"},
             {"--connect", "a", "--driver-info", "--diff", "b", "--output", "r.txt"},
             {"--connect", "a", "--driver-info", "--execute", "q.sql"},
             {"--connect", "a", "--driver-info", "--no-header"},
             {"--connect", "a", "--driver-info", "q.qry"},
         }) {
        EXPECT_TRUE(parseCommandLine(args).invalid) << args.back();
    }
}

TEST(CommandLine, AnythingElseIsRefused) {
    EXPECT_TRUE(parseCommandLine({"--bogus"}).invalid);
    EXPECT_TRUE(parseCommandLine({"--connect"}).invalid);
    EXPECT_TRUE(parseCommandLine({"a.qry", "b.qry"}).invalid);
    EXPECT_TRUE(parseCommandLine({"--connect", "x", "--connect", "y"}).invalid);
    EXPECT_TRUE(parseCommandLine({"--execute", "q.sql"}).invalid);
    EXPECT_TRUE(parseCommandLine({"--connect", "c", "--execute", "q", "a.qry"}).invalid);
    EXPECT_TRUE(parseCommandLine({"--connect", "c", "--no-header"}).invalid);
    EXPECT_EQ(parseCommandLine({"--connect", "c", "--execute", "q", "--delimiter"}).problem,
              "--delimiter takes comma, tab, pipe or none.");
    EXPECT_EQ(
        parseCommandLine({"--connect", "c", "--execute", "q", "--delimiter", "semicolon"}).problem,
        "--delimiter takes comma, tab, pipe or none, not \"semicolon\".");
    EXPECT_EQ(parseCommandLine({"--bogus"}).problem, "");
    EXPECT_EQ(std::string(usageText), "Usage: Standard shell commands, DDE, and file open only.");
}

} // namespace
} // namespace veltro
