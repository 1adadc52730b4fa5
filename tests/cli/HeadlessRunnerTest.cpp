// The program's headless run, as a script would use it.
#include "ProgramRun.h"
#include "TestDatabases.h"

#include "history/HistoryStore.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>

#include <functional>

namespace veltro {
namespace {

using test::runProgram;

class HeadlessRun : public testing::Test {
protected:
    test::ProgramResult veltro(const std::vector<std::string>& args, const std::string& input = "",
                               const test::ProgramSetup& setup = {}) {
        return runProgram(VELTRO_PROGRAM_PATH, args, folder, input, setup);
    }
    test::ProgramResult sqliteRun(const std::string& batch,
                                  const std::vector<std::string>& more = {}) {
        std::vector<std::string> args{"--connect", sqlite(), "--execute", "-"};
        args.insert(args.end(), more.begin(), more.end());
        return veltro(args, batch);
    }
    std::string sqlite() { return test::sqliteConnectString(folder / "h.db"); }

    // Runs as an ordinary user (nobody, when the tests run as root), for whom permissions
    // count; the folder and its database are theirs to write.
    test::ProgramResult asOrdinaryUser(const std::vector<std::string>& args,
                                       const std::string& input) {
        std::filesystem::permissions(folder, std::filesystem::perms::all);
        if (geteuid() != 0) {
            return veltro(args, input);
        }
        const passwd* nobody = getpwnam("nobody");
        std::vector<std::string> command{"--reuid=" + std::to_string(nobody->pw_uid),
                                         "--regid=" + std::to_string(nobody->pw_gid),
                                         "--clear-groups", "--", VELTRO_PROGRAM_PATH};
        command.insert(command.end(), args.begin(), args.end());
        test::ProgramSetup setup;
        setup.environment = {"HOME=" + folder.string()};
        return runProgram("/usr/bin/setpriv", command, folder, input, setup);
    }

    std::filesystem::path folder = test::workFolder(
        std::string("headless-") + testing::UnitTest::GetInstance()->current_test_info()->name());
};

constexpr const char* oneRowFetched = "[1 row(s) affected (application specific)]\n";
const std::string oneRowCompleted = std::string(oneRowFetched) + "Query batch completed\n";

TEST_F(HeadlessRun, WritesGridsToStandardOutputAndStatusToStandardError) {
    const auto result = sqliteRun("SELECT 1 AS a, 'x y' AS b, 'l1' || char(10) || 'l2' AS c");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "a\tb\tc\r\n1\tx y\t\"l1\nl2\"\r\n\r\n");
    EXPECT_EQ(result.err, oneRowCompleted);
}

TEST_F(HeadlessRun, OnlyARunWithHistoryIsRecordedAndWithoutItsPassword) {
    const std::filesystem::path data = folder / "data";
    test::ProgramSetup setup;
    setup.environment = {"XDG_DATA_HOME=" + data.string()};
    const std::string connect = sqlite() + ";PWD=secret";
    const auto plain = veltro({"--connect", connect, "--execute", "-"}, "SELECT 1 AS a", setup);
    EXPECT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_FALSE(std::filesystem::exists(data));

    const auto recorded =
        veltro({"--connect", connect, "--execute", "-", "--history"}, "SELECT nope", setup);
    EXPECT_EQ(recorded.exitCode, 1) << recorded.err;
    HistoryStore history((data / "veltro" / "history.db").string());
    const std::vector<HistoryEntry> entries = history.find({"", "", 10});
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].text, "SELECT nope");
    EXPECT_EQ(entries[0].dataSource, sqlite());
    EXPECT_EQ(entries[0].outcome, BatchOutcome::completedWithErrors);
    EXPECT_EQ(test::readWholeFile(data / "veltro" / "history.db").find("secret"),
              std::string::npos);
}

TEST_F(HeadlessRun, ExportFileDelimiterHeaderOptionsAndUmask) {
    std::ofstream(folder / "q.sql") << "SELECT 1 AS a, 2 AS b UNION ALL SELECT 3, 4";
    const auto target = folder / "out.csv";
    const mode_t previousMask = umask(077);
    const auto result = veltro({"--connect", sqlite(), "--execute", (folder / "q.sql").string(),
                                "--export", target.string(), "--delimiter", "pipe", "--no-header"});
    umask(previousMask);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(test::readWholeFile(target), "1|2\r\n3|4\r\n\r\n");
    EXPECT_EQ(std::filesystem::status(target).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST_F(HeadlessRun, ErrorsAndFailuresHaveTheirExitCodes) {
    const auto failed = sqliteRun("SELEC 1");
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_NE(failed.err.find("Query batch completed with errors\n"), std::string::npos);

    // A batch that does not complete leaves an export file as it was.
    const auto target = folder / "kept.csv";
    std::ofstream(target) << "old";
    const auto broken = veltro({"--connect", "Driver={Veltro Test};FailFetch=3", "--execute", "-",
                                "--export", target.string()},
                               "SELECT 1 AS a UNION ALL SELECT 2 UNION ALL SELECT 3");
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_EQ(test::readWholeFile(target), "old");
    const std::string why =
        "veltro: " + target.string() + " was not written, since the batch had errors.\n";
    EXPECT_EQ(broken.err.substr(broken.err.size() - std::min(why.size(), broken.err.size())), why);

    const auto missing =
        veltro({"--connect", sqlite(), "--execute", (folder / "none.sql").string()});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.err, "veltro: cannot read " + (folder / "none.sql").string() +
                               ": The file could not be located.\n");

    const auto folderGiven = veltro({"--connect", sqlite(), "--execute", folder.string()});
    EXPECT_EQ(folderGiven.exitCode, 2);
    EXPECT_EQ(folderGiven.err, "veltro: cannot read " + folder.string() + ": It is a folder.\n");

    const auto badConnection =
        veltro({"--connect", "DSN=NoSuchDataSource", "--execute", "-"}, "SELECT 1");
    EXPECT_EQ(badConnection.exitCode, 2);
    EXPECT_NE(badConnection.err.find("State:IM002"), std::string::npos);
}

// As an ordinary user, for whom a file's permissions count.
TEST_F(HeadlessRun, AnExportOrReportTargetThatCannotBeWrittenStopsTheRunBeforeAnythingExecutes) {
    ASSERT_EQ(
        asOrdinaryUser({"--connect", sqlite(), "--execute", "-"}, "CREATE TABLE t (x INTEGER)")
            .exitCode,
        0);
    struct Case {
        const char* name;
        std::string target;
        std::function<void(const std::filesystem::path&)> arrange;
        std::string why;
    };
    const auto old = [](const std::filesystem::path& file, std::filesystem::perms fileMode) {
        std::ofstream(file) << "old";
        std::filesystem::permissions(file, fileMode);
    };
    using std::filesystem::perms;
    const auto readOnly = perms::owner_read | perms::group_read | perms::others_read;
    const std::string denied = "The file could not be accessed. Permission denied";
    for (const Case& c : {
             Case{"missing folder", (folder / "missing" / "x.csv").string(), nullptr,
                  "All or part of the path is invalid."},
             Case{"empty name", "", nullptr, "All or part of the path is invalid."},
             Case{"read-only file", (folder / "ro.csv").string(),
                  [&](const auto& file) { old(file, readOnly); }, denied + "."},
             Case{"writable file in a folder that cannot be written",
                  (folder / "locked" / "rw.csv").string(),
                  [&](const auto& file) {
                      std::filesystem::create_directory(file.parent_path());
                      old(file, perms::all);
                      std::filesystem::permissions(file.parent_path(),
                                                   perms::all & ~perms::owner_write &
                                                       ~perms::group_write & ~perms::others_write);
                  },
                  denied + ": the folder cannot be written, and the file is replaced only through "
                           "a new one made beside it."},
             Case{"loop of links", (folder / "loop-a.csv").string(),
                  [&](const auto& file) {
                      std::filesystem::create_symlink("loop-b.csv", file);
                      std::filesystem::create_symlink("loop-a.csv", folder / "loop-b.csv");
                  },
                  "All or part of the path is invalid. Too many levels of symbolic links."},
         }) {
        SCOPED_TRACE(c.name);
        if (c.arrange) {
            c.arrange(c.target);
        }
        const auto refused =
            asOrdinaryUser({"--connect", sqlite(), "--execute", "-", "--export", c.target},
                           "INSERT INTO t VALUES (1)");
        EXPECT_EQ(refused.exitCode, 2);
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(refused.err, "veltro: cannot write the results: File Path Name: <" + c.target +
                                   "> " + c.why + "\n");
        EXPECT_EQ(sqliteRun("SELECT COUNT(*) AS n FROM t").out, "n\r\n0\r\n\r\n");
        // The driver report's file is refused as the export's.
        const auto report =
            asOrdinaryUser({"--connect", sqlite(), "--driver-info", "--output", c.target}, "");
        EXPECT_EQ(report.exitCode, 2);
        EXPECT_EQ(report.out, "");
        EXPECT_EQ(report.err, "veltro: cannot write the report: File Path Name: <" + c.target +
                                  "> " + c.why + "\n");
        if (std::filesystem::is_symlink(c.target)) {
            EXPECT_EQ(std::filesystem::read_symlink(c.target), "loop-b.csv");
        } else if (c.arrange) {
            EXPECT_EQ(test::readWholeFile(c.target), "old");
        }
    }
}

// As the shell's `>` does, a link to a file not yet made has that file made; the link stays.
TEST_F(HeadlessRun, ADanglingLinkHasTheFileItNamesMade) {
    std::filesystem::create_directory(folder / "out");
    std::filesystem::create_symlink("out/made.csv", folder / "link.csv");
    const auto result = sqliteRun("SELECT 1 AS a", {"--export", (folder / "link.csv").string()});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(std::filesystem::read_symlink(folder / "link.csv"), "out/made.csv");
    EXPECT_EQ(test::readWholeFile(folder / "out" / "made.csv"), "a\r\n1\r\n\r\n");
}

// A name for a descriptor the program holds leads to the file the shell opened: it is
// written through the descriptor, never replaced. So is a name that leads there from the
// working folder or through links.
TEST_F(HeadlessRun, DescriptorNamesAreWrittenInPlace) {
    struct Case {
        std::string target;
        int exitCode;
        std::string out;
        std::string err;
        // Empty: SQLite.
        std::string connectString = {};
    };
    const std::string rows = "a\r\n1\r\n\r\n";
    std::filesystem::create_symlink("/dev/stdout", folder / "stdout.lnk");
    std::filesystem::create_directory_symlink("/dev/fd", folder / "fd.lnk");
    const std::string fromHere =
        std::filesystem::path("/dev/stdout").lexically_relative(std::filesystem::current_path());
    for (const Case& c : {
             Case{"/dev/stdout", 0, "before\n" + rows, "before\n" + std::string(oneRowCompleted)},
             Case{fromHere, 0, "before\n" + rows, "before\n" + std::string(oneRowCompleted)},
             Case{(folder / "stdout.lnk").string(), 0, "before\n" + rows,
                  "before\n" + std::string(oneRowCompleted)},
             Case{(folder / "fd.lnk" / "1").string(), 0, "before\n" + rows,
                  "before\n" + std::string(oneRowCompleted)},
             Case{"/dev/fd/1", 0, "before\n" + rows, "before\n" + std::string(oneRowCompleted)},
             Case{"/proc/self/fd/1", 0, "before\n" + rows,
                  "before\n" + std::string(oneRowCompleted)},
             Case{"/dev/stderr", 0, "before\n", "before\n" + rows + oneRowCompleted},
             Case{"/dev/stdin", 2, "before\n",
                  "before\nveltro: cannot write the results: File Path Name: </dev/stdin> There "
                  "was an attempt to use an invalid file handle.\n"},
             // The rows before the error are out already: nothing is said to be unwritten.
             Case{"/dev/stdout", 1, "before\na\r\n1\r\n\r\n",
                  "before\n[1 row(s) affected (application specific)]\n\nInjected failure\n"
                  "State:S1000,Native:0,Origin:[Veltro][TestDriver]\n\nQuery batch completed with "
                  "errors\n",
                  "Driver={Veltro Test};FailFetch=2"},
         }) {
        SCOPED_TRACE(c.target);
        test::ProgramSetup appending;
        appending.outputBefore = "before\n";
        appending.errorBefore = "before\n";
        const auto result =
            veltro({"--connect", c.connectString.empty() ? sqlite() : c.connectString, "--execute",
                    "-", "--export", c.target},
                   c.connectString.empty() ? "SELECT 1 AS a" : "SELECT 1 AS a UNION ALL SELECT 2",
                   appending);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, c.err);
    }
}

TEST_F(HeadlessRun, ReplacingAnotherUsersFileKeepsItsOwnerGroupAndMode) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "only root can make a file that another user owns";
    }
    const passwd* nobody = getpwnam("nobody");
    const auto target = folder / "theirs.csv";
    std::ofstream(target) << "old";
    ASSERT_EQ(chown(target.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    ASSERT_EQ(chmod(target.c_str(), 0600), 0);
    const auto result = sqliteRun("SELECT 1 AS a", {"--export", target.string()});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(test::readWholeFile(target), "a\r\n1\r\n\r\n");
    struct stat after {};
    ASSERT_EQ(stat(target.c_str(), &after), 0);
    EXPECT_EQ(after.st_uid, nobody->pw_uid);
    EXPECT_EQ(after.st_gid, nobody->pw_gid);
    EXPECT_EQ(after.st_mode & 07777, 0600u);
}

// Whatever the values, a CSV reader gets the rows and fields that the result has.
TEST_F(HeadlessRun, NullTextOneColumnValuesAndLongNamesKeepTheShapeOfTheResult) {
    struct Case {
        const char* name;
        std::vector<std::string> options;
        std::string batch;
        std::string out;
    };
    std::string e200;
    std::string e255;
    for (int i = 0; i < 300; ++i) {
        (i < 200 ? e200 : e255) += "é";
    }
    const std::string e300 = e200 + e255;
    e255 = e200 + e255.substr(0, 55 * 2);
    for (const Case& c : {
             Case{"null text holding the delimiter",
                  {"--delimiter", "comma", "--null", ","},
                  "SELECT 1 AS a, NULL AS b, NULL AS c, 3 AS d",
                  "a,b,c,d\r\n1,\",\",\",\",3\r\n\r\n"},
             Case{"null text of a quote",
                  {"--null", "\""},
                  "SELECT NULL AS a, 1 AS b",
                  "a\tb\r\n\"\"\"\"\t1\r\n\r\n"},
             Case{"null text with a line feed",
                  {"--null", "x\ny"},
                  "SELECT NULL AS a, 1 AS b",
                  "a\tb\r\n\"x\ny\"\t1\r\n\r\n"},
             Case{"empty values of one column",
                  {"--delimiter", "comma"},
                  "SELECT '' AS a UNION ALL SELECT NULL UNION ALL SELECT 'x'",
                  "a\r\n\"\"\r\n\"\"\r\nx\r\n\r\n"},
             Case{"one column with a null text",
                  {"--null", "NULL"},
                  "SELECT '' AS a UNION ALL SELECT NULL",
                  "a\r\n\"\"\r\nNULL\r\n\r\n"},
             Case{"one column without a delimiter",
                  {"--delimiter", "none"},
                  "SELECT '' AS a UNION ALL SELECT NULL",
                  "a\r\n\r\n\r\n\r\n"},
             Case{"empty values of two columns",
                  {},
                  "SELECT '' AS a, NULL AS b",
                  "a\tb\r\n\t\r\n\r\n"},
             Case{"names longer in bytes or in characters than 255",
                  {},
                  "SELECT 1 AS \"" + e200 + "\", 2 AS \"" + e300 + "\"",
                  e200 + "\t" + e255 + "\r\n1\t2\r\n\r\n"},
         }) {
        SCOPED_TRACE(c.name);
        const auto result = sqliteRun(c.batch, c.options);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, c.out);
    }
}

TEST_F(HeadlessRun, BatchFilesAndPipes) {
    struct Case {
        const char* name;
        std::string text;
        bool throughPipe;
        int exitCode;
        std::string out;
        std::string err;
    };
    const std::string file = (folder / "q.sql").string();
    const std::string nothing = "veltro: nothing to execute: " + file + " holds no SQL text.\n";
    for (const Case& c : {
             Case{"NUL byte", std::string("SELECT 1 AS a;\0SELECT 2 AS b", 28), false, 2, "",
                  "veltro: " + file +
                      " holds a NUL byte (at offset 14), which SQL text cannot hold; nothing was "
                      "executed.\n"},
             Case{"empty", "", false, 2, "", nothing},
             Case{"blank", " \r\n\t\n", false, 2, "", nothing},
             Case{"byte order mark", "\xEF\xBB\xBFSELECT 1 AS a", false, 0, "a\r\n1\r\n\r\n",
                  oneRowCompleted},
             Case{"pipe", "SELECT 1 AS a", true, 0, "a\r\n1\r\n\r\n", oneRowCompleted},
         }) {
        SCOPED_TRACE(c.name);
        std::ofstream(file, std::ios::binary) << c.text;
        test::ProgramSetup setup;
        setup.inputThroughPipe = c.throughPipe;
        const auto result =
            veltro({"--connect", sqlite(), "--execute", c.throughPipe ? "/dev/stdin" : file},
                   c.text, setup);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, c.err);
    }
}

TEST_F(HeadlessRun, CommandLineUse) {
    struct Case {
        std::vector<std::string> args;
        std::string environment;
        std::string err;
    };
    const std::string usage = "Usage: Standard shell commands, DDE, and file open only.\n";
    for (const Case& c : {
             Case{{"--bogus"},
                  "",
                  "veltro: --bogus is not an option (--help lists them).\n" + usage},
             Case{{"--connect", "x", "--execute"},
                  "",
                  "veltro: --execute needs a file name, or - for standard input.\n"},
             Case{{"--connect", "x", "--execute", "-", "--null"},
                  "",
                  "veltro: --null needs the text written for NULL (\"\" for none).\n"},
             Case{{"--execute", "-"},
                  "VELTRO_CONNECT=",
                  "veltro: --execute needs a connect string: --connect CONNSTR, or VELTRO_CONNECT "
                  "in the environment (it is set, but empty).\n"},
             Case{{"--connect", "x", "--driver-info", "--execute", "q.sql"},
                  "",
                  "veltro: --execute and --driver-info cannot be used together.\n"},
             Case{{"--connect", "x", "--diff", "y"},
                  "",
                  "veltro: --diff belongs to --driver-info.\n" + usage},
             Case{{"--connect", "x", "--driver-info", "--diff", "y", "--output", "r.txt"},
                  "",
                  "veltro: --output cannot be used with --diff, whose differences go to standard "
                  "output.\n"},
             Case{{"--connect", "x", "--execute", "-", "--delimiter", "semicolon"},
                  "",
                  "veltro: --delimiter takes comma, tab, pipe or none, not \"semicolon\".\n"},
         }) {
        SCOPED_TRACE(c.args.back());
        test::ProgramSetup setup;
        if (!c.environment.empty()) {
            setup.environment = {c.environment};
        }
        const auto result = veltro(c.args, "", setup);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, c.err);
    }

    const auto help = veltro({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option : {"--execute", "--null TEXT", "VELTRO_CONNECT"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
    EXPECT_EQ(veltro({"--version"}).out.rfind("Veltro (using ODBC) ", 0), 0u);

    test::ProgramSetup setup;
    setup.environment = {"VELTRO_CONNECT=" + sqlite()};
    const auto fromEnvironment = veltro({"--execute", "-"}, "SELECT 1 AS a", setup);
    EXPECT_EQ(fromEnvironment.exitCode, 0) << fromEnvironment.err;
    EXPECT_EQ(fromEnvironment.out, "a\r\n1\r\n\r\n");
}

// Both run the script statement by statement.
TEST_F(HeadlessRun, AScriptGivesTheSameOutputOnSqliteAsOnPostgres) {
    const std::string script = "-- items; with the constructs a script holds\n"
                               "CREATE TEMP TABLE items (id INTEGER, name VARCHAR(20));\n"
                               "INSERT INTO items VALUES (1, 'one; two');\n"
                               "INSERT INTO items VALUES (2, 'it''s'), (3, '/* no; */');\n"
                               "UPDATE items SET name = name || '!' WHERE id > 1;\n"
                               "SELECT id, name FROM items ORDER BY id;\n"
                               "/* a block; comment */ SELECT COUNT(*) AS n FROM items;\n"
                               "DELETE FROM items WHERE id = 3;\n"
                               "SELECT \"name\" FROM items WHERE id = 2;\n";
    const auto onSqlite = sqliteRun(script);
    EXPECT_EQ(onSqlite.exitCode, 0) << onSqlite.err;
    EXPECT_EQ(onSqlite.out, "id\tname\r\n1\tone; two\r\n2\tit's!\r\n3\t/* no; */!\r\n\r\n"
                            "n\r\n3\r\n\r\n"
                            "name\r\nit's!\r\n\r\n");
    EXPECT_EQ(onSqlite.err,
              "(0 row(s) affected)\n\n(1 row(s) affected)\n\n(2 row(s) affected)\n\n"
              "(2 row(s) affected)\n\n[3 row(s) affected (application specific)]\n\n"
              "[1 row(s) affected (application specific)]\n\n(1 row(s) affected)\n\n" +
                  std::string(oneRowCompleted));

    const std::string connectString = test::postgresConnectString();
    VELTRO_REQUIRE_POSTGRES_OR_SKIP(connectString);
    const auto onPostgres = veltro({"--connect", connectString, "--execute", "-"}, script);
    EXPECT_EQ(onPostgres.exitCode, 0) << onPostgres.err;
    EXPECT_EQ(onPostgres.out, onSqlite.out);
    EXPECT_EQ(onPostgres.err, onSqlite.err);
}

// A run killed in a long statement has told what came before it: committed rows, notices.
TEST_F(HeadlessRun, MessagesReachStandardErrorAsTheyCome) {
    struct Case {
        const char* name;
        std::string connectString;
        std::string script;
        std::string errBeforeKill;
        std::string committedCheck;
    };
    const std::string longStatement = "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                      "FROM n WHERE i < 100000000) SELECT COUNT(*) FROM n";
    std::vector<Case> cases{
        {"two inserts", sqlite(),
         "CREATE TABLE t (a INTEGER);\nINSERT INTO t VALUES (1);\nINSERT INTO t VALUES (2);\n" +
             longStatement,
         "(0 row(s) affected)\n\n(1 row(s) affected)\n\n(1 row(s) affected)\n",
         "SELECT COUNT(*) AS n FROM t"},
    };
    if (!test::postgresConnectString().empty()) {
        cases.push_back({"a notice", test::postgresConnectString(),
                         "DO $$ BEGIN RAISE NOTICE 'started'; END $$;\nSELECT pg_sleep(20)",
                         "started", ""});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ProgramSetup setup;
        setup.signals.push_back({folder / "stderr.txt", c.errBeforeKill, SIGKILL});
        const auto killed =
            veltro({"--connect", c.connectString, "--execute", "-"}, c.script, setup);
        EXPECT_EQ(killed.exitCode, 128 + SIGKILL);
        EXPECT_NE(killed.err.find(c.errBeforeKill), std::string::npos) << killed.err;
        if (!c.committedCheck.empty()) {
            EXPECT_EQ(killed.err, c.errBeforeKill);
            EXPECT_EQ(
                veltro({"--connect", c.connectString, "--execute", "-"}, c.committedCheck).out,
                "n\r\n2\r\n\r\n");
        }
    }
}

TEST_F(HeadlessRun, NumbersAndTextReadTheSameUnderAGermanLocale) {
    const std::string connectString = test::postgresConnectString();
    VELTRO_REQUIRE_POSTGRES_OR_SKIP(connectString);
    test::ProgramSetup german;
    german.environment = {"LC_ALL=de_DE.UTF-8", "LANG=de_DE.UTF-8"};
    const auto result = veltro(
        {"--connect", connectString, "--execute", "-"},
        "SELECT CAST(-1234.50 AS NUMERIC(6,2)) AS n, 2.5::float8 AS f, 'grüße' AS t", german);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "n\tf\tt\r\n-1234.50\t2.5\tgrüße\r\n\r\n");
}

// A closed stream is taken by the next file or socket the program opens (with PostgreSQL the
// results went into the connection); a failed write must not pass for success.
TEST_F(HeadlessRun, FailedOrClosedStandardStreams) {
    struct Case {
        const char* name;
        std::function<void(test::ProgramSetup&)> arrange;
        int exitCode;
        std::string out;
        std::string errStart;
    };
    const std::vector<Case> cases{
        {"stdout closed", [](auto& setup) { setup.closedStreams = {STDOUT_FILENO}; }, 2, "",
         "veltro: cannot write the results: There was an attempt to use an invalid file handle.\n"},
        {"stderr closed", [](auto& setup) { setup.closedStreams = {STDERR_FILENO}; }, 2,
         "a\r\n1\r\n\r\n", ""},
        {"stdout full", [](auto& setup) { setup.outputPath = "/dev/full"; }, 2, "",
         "veltro: cannot write the results: The disk is full.\n"},
        {"reader gone", [](auto& setup) { setup.outputReaderGone = true; }, 141, "", ""},
    };
    std::vector<std::string> connectStrings{sqlite()};
    if (!test::postgresConnectString().empty()) {
        connectStrings.push_back(test::postgresConnectString());
    }
    for (const std::string& connectString : connectStrings) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " " + connectString);
            test::ProgramSetup setup;
            c.arrange(setup);
            const auto result =
                veltro({"--connect", connectString, "--execute", "-"}, "SELECT 1 AS a", setup);
            EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
            EXPECT_EQ(result.out, c.out);
            // The batch's messages went out as they came, before the output failed at its end.
            const std::string errStart =
                (c.name == std::string("stderr closed") ? "" : oneRowFetched) + c.errStart;
            EXPECT_EQ(result.err.substr(0, errStart.size()), errStart);
            if (c.errStart.empty()) {
                EXPECT_EQ(result.err, errStart);
            }
        }
    }
    // Output that fails while rows still come stops the batch, and says only what failed.
    const std::string manyRows = "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                 "WHERE i < 1000000) SELECT i, 'a row of text' AS t FROM n";
    for (const Case& c : {cases[2], cases[3]}) {
        SCOPED_TRACE(std::string(c.name) + " while rows come");
        test::ProgramSetup setup;
        c.arrange(setup);
        const auto result = veltro({"--connect", sqlite(), "--execute", "-"}, manyRows, setup);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.err, c.errStart);
    }
}

// The test driver stands for a server: ExecDelay or FetchDelay hang until a cancel arrives,
// and without SQLCancel nothing ends them.
TEST_F(HeadlessRun, InterruptsCancelOrEndAtOnceAndLeaveNoTemporaryFile) {
    struct Case {
        const char* name;
        std::string driverSettings;
        std::vector<std::pair<std::string, int>> signals; // sent when the text shows
        int exitCode;
        std::string err;
        bool oldExportKept;
    };
    const auto stats = folder / "stats.txt";
    const auto errFile = folder / "stderr.txt";
    const std::string cancelling =
        "Attempting to cancel query batch... (Ctrl+C again ends the program at once)\n";
    for (const Case& c : {
             Case{"Ctrl+C cancels",
                  "FetchDelay=60000",
                  {{"executions=1", SIGINT}},
                  130,
                  cancelling + "Query canceled by user.\nQuery batch canceled\n" + "veltro: " +
                      (std::filesystem::path(VELTRO_TEST_WORK_DIR) /
                       "headless-interrupt-Ctrl+C cancels" / "out.csv")
                          .string() +
                      " was not written, since the batch did not complete.\n",
                  true},
             Case{"second Ctrl+C ends a hung batch",
                  "Missing=SQLCancel;ExecDelay=60000",
                  {{"executions=1", SIGINT}, {"Attempting to cancel", SIGINT}},
                  130,
                  cancelling,
                  true},
             Case{"SIGTERM ends it", "ExecDelay=60000", {{"executions=1", SIGTERM}}, 143, "", true},
             Case{"SIGHUP ends it", "ExecDelay=60000", {{"executions=1", SIGHUP}}, 129, "", true},
             Case{"SIGQUIT ends it", "ExecDelay=60000", {{"executions=1", SIGQUIT}}, 131, "", true},
             Case{"SIGPIPE ends it", "ExecDelay=60000", {{"executions=1", SIGPIPE}}, 141, "", true},
         }) {
        SCOPED_TRACE(c.name);
        const auto exportFolder = test::workFolder(std::string("headless-interrupt-") + c.name);
        std::ofstream(exportFolder / "out.csv") << "old";
        std::filesystem::remove(stats);
        test::ProgramSetup setup;
        for (const auto& [text, signal] : c.signals) {
            setup.signals.push_back({text == "executions=1" ? stats : errFile, text, signal});
        }
        const auto result =
            veltro({"--connect",
                    "Driver={Veltro Test};StatsFile=" + stats.string() + ";" + c.driverSettings,
                    "--execute", "-", "--export", (exportFolder / "out.csv").string()},
                   "SELECT 1 AS a", setup);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.err, c.err);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(exportFolder),
                                std::filesystem::directory_iterator()),
                  1);
        if (c.oldExportKept) {
            EXPECT_EQ(test::readWholeFile(exportFolder / "out.csv"), "old");
        }
    }
}

} // namespace
} // namespace veltro
