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

    const CommandLine headless =
        parseCommandLine({"--connect", "c", "--execute", "-", "--export", "o.csv", "--delimiter",
                          "none", "--no-header", "--history"});
    EXPECT_FALSE(headless.invalid);
    EXPECT_EQ(headless.executeFile, std::optional<std::string>("-"));
    EXPECT_EQ(headless.exportTarget, "o.csv");
    EXPECT_EQ(headless.delimiter, "");
    EXPECT_FALSE(headless.header);
    EXPECT_TRUE(headless.history);
    const CommandLine defaults = parseCommandLine({"--connect", "c", "--execute", "q.sql"});
    EXPECT_EQ(defaults.exportTarget, "-");
    EXPECT_EQ(defaults.delimiter, "\t");
    EXPECT_TRUE(defaults.header);
    EXPECT_FALSE(defaults.history);
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

TEST(CommandLine, AnythingElseIsRefusedSayingWhatIsWrong) {
    struct Case {
        std::vector<std::string> args;
        std::string problem;
    };
    for (const Case& c : {
             Case{{"--bogus"}, "--bogus is not an option (--help lists them)."},
             Case{{"--connect"}, "--connect needs a connect string."},
             Case{{"a.qry", "b.qry"}, "only one file can be opened, not also \"b.qry\"."},
             Case{{"--connect", "x", "--connect", "y"}, "--connect is given twice."},
             Case{{"--execute", "q.sql"},
                  "--execute needs a connect string: --connect CONNSTR, or VELTRO_CONNECT in the "
                  "environment."},
             Case{{"--connect", "c", "--execute", "--export", "o.csv"},
                  "--execute needs a file name, or - for standard input."},
             Case{{"--connect", "c", "--execute", "q", "a.qry"},
                  "a query file (\"a.qry\") is opened only in a window, not with --execute."},
             Case{{"--connect", "c", "--no-header"}, "--no-header belongs to --execute."},
             Case{{"--connect", "a", "--history"}, "--history belongs to --execute."},
             Case{{"--connect", "a", "--execute", "q", "--history", "--history"},
                  "--history is given twice."},
             Case{{"--connect", "c", "--execute", "q", "--delimiter"},
                  "--delimiter takes comma, tab, pipe or none."},
             Case{{"--connect", "c", "--execute", "q", "--delimiter", "semicolon"},
                  "--delimiter takes comma, tab, pipe or none, not \"semicolon\"."},
             Case{{"--connect", "a", "--driver-info", "--no-header"},
                  "--no-header belongs to --execute."},
             Case{{"--connect", "a", "--output", "r.txt"}, "--output belongs to --driver-info."},
         }) {
        const CommandLine line = parseCommandLine(c.args);
        EXPECT_TRUE(line.invalid) << c.problem;
        EXPECT_EQ(line.problem, c.problem);
    }
    EXPECT_EQ(std::string(usageText), "Usage: Standard shell commands, DDE, and file open only.");
}

} // namespace
} // namespace veltro
