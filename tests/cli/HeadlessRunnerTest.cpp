// The program's headless run, as a script would use it.
#include "ProgramRun.h"
#include "TestDatabases.h"

#include <gtest/gtest.h>

namespace veltro {
namespace {

using test::runProgram;

class HeadlessRun : public testing::Test {
protected:
    test::ProgramResult veltro(const std::vector<std::string>& args, const std::string& input = "",
                               const std::vector<std::string>& environment = {},
                               int interruptAfterMs = -1) {
        return runProgram(VELTRO_PROGRAM_PATH, args, environment, input, folder, interruptAfterMs);
    }
    std::string sqlite() { return test::sqliteConnectString(folder / "h.db"); }

    std::filesystem::path folder = test::workFolder(
        std::string("headless-") + testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(HeadlessRun, WritesGridsToStandardOutputAndStatusToStandardError) {
    const auto result =
        veltro({"--connect", sqlite(), "--execute", "-"}, "SELECT 1 AS a, 'x y' AS b");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "a\tb\r\n1\tx y\r\n\r\n");
    EXPECT_EQ(result.err, "[1 row(s) affected (application specific)]\nQuery batch completed\n");
}

TEST_F(HeadlessRun, ExportFileDelimiterAndHeaderOptions) {
    std::ofstream(folder / "q.sql") << "SELECT 1 AS a, 2 AS b UNION ALL SELECT 3, 4";
    const auto target = folder / "out.csv";
    const auto result = veltro({"--connect", sqlite(), "--execute", (folder / "q.sql").string(),
                                "--export", target.string(), "--delimiter", "pipe", "--no-header"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");
    std::ifstream in(target, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "1|2\r\n3|4\r\n\r\n");
}

TEST_F(HeadlessRun, ErrorsAndFailuresHaveTheirExitCodes) {
    const auto failed = veltro({"--connect", sqlite(), "--execute", "-"}, "SELEC 1");
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_NE(failed.err.find("Query batch completed with errors\n"), std::string::npos);

    const auto missing =
        veltro({"--connect", sqlite(), "--execute", (folder / "none.sql").string()});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("The file could not be located."), std::string::npos);

    const auto folderGiven = veltro({"--connect", sqlite(), "--execute", folder.string()});
    EXPECT_EQ(folderGiven.exitCode, 2);

    const auto badConnection = veltro({"--connect", "DSN=NoSuchDataSource", "--execute", "-"});
    EXPECT_EQ(badConnection.exitCode, 2);
    EXPECT_NE(badConnection.err.find("State:IM002"), std::string::npos);

    const auto badExport = veltro({"--connect", sqlite(), "--execute", "-", "--export",
                                   (folder / "missing" / "x.csv").string()},
                                  "SELECT 1");
    EXPECT_EQ(badExport.exitCode, 2);
    EXPECT_NE(badExport.err.find("All or part of the path is invalid."), std::string::npos);
}

TEST_F(HeadlessRun, UsageMistakesGetTheUsageText) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--execute", "-"},
          {"--bogus"},
          {"--connect", "x", "--execute", "-", "--delimiter", "semicolon"}}) {
        const auto result = veltro(args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.err, "Usage: Standard shell commands, DDE, and file open only.\n");
    }
    const auto help = veltro({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--execute"), std::string::npos);
    EXPECT_EQ(veltro({"--version"}).out.rfind("Veltro (using ODBC) ", 0), 0u);
}

TEST_F(HeadlessRun, NumbersAndTextReadTheSameUnderAGermanLocale) {
    const std::string connectString = test::postgresConnectString();
    VELTRO_REQUIRE_POSTGRES_OR_SKIP(connectString);
    const auto result =
        veltro({"--connect", connectString, "--execute", "-"},
               "SELECT CAST(-1234.50 AS NUMERIC(6,2)) AS n, 2.5::float8 AS f, 'grüße' AS t",
               {"LC_ALL=de_DE.UTF-8", "LANG=de_DE.UTF-8"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "n\tf\tt\r\n-1234.50\t2.5\tgrüße\r\n\r\n");
}

TEST_F(HeadlessRun, InterruptCancelsTheBatch) {
    const std::string connectString = test::postgresConnectString();
    VELTRO_REQUIRE_POSTGRES_OR_SKIP(connectString);
    const auto result =
        veltro({"--connect", connectString + ";UseDeclareFetch=1;Fetch=10", "--execute", "-"},
               "SELECT n, pg_sleep(0.01) FROM generate_series(1, 100000) AS n", {}, 1500);
    EXPECT_EQ(result.exitCode, 130) << result.err;
    EXPECT_NE(result.err.find("Query canceled by user.\nQuery batch canceled\n"), std::string::npos)
        << result.err;
}

} // namespace
} // namespace veltro
