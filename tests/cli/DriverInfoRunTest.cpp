// The driver information report without a window, and the comparison of two drivers.
#include "DriverInfoData.h"
#include "ProgramRun.h"
#include "TestDatabases.h"

#include <gtest/gtest.h>

namespace veltro {
namespace {

class DriverInfoRun : public testing::Test {
protected:
    test::ProgramResult veltro(const std::vector<std::string>& args,
                               const test::ProgramSetup& setup = {}) {
        return test::runProgram(VELTRO_PROGRAM_PATH, args, folder, "", setup);
    }
    std::string sqlite() { return test::sqliteConnectString(folder / "d.db"); }

    std::filesystem::path folder = test::workFolder(
        std::string("driverinfo-") + testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(DriverInfoRun, WritesTheReportAsSaveAsWritesIt) {
    const std::string expected = test::expectedEdgeCaseReport();
    const auto target = folder / "report.txt";
    const auto toFile =
        veltro({"--driver-info", "--connect", test::edgeCaseDriver(), "--output", target.string()});
    EXPECT_EQ(toFile.exitCode, 0) << toFile.err;
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(test::readWholeFile(target), expected);

    test::ProgramSetup environment;
    environment.environment = {"VELTRO_CONNECT=" + test::edgeCaseDriver()};
    const auto toOutput = veltro({"--driver-info", "--output", "-"}, environment);
    EXPECT_EQ(toOutput.exitCode, 0) << toOutput.err;
    EXPECT_EQ(toOutput.out, expected);

    // The file the shell opened for appending is appended to, not replaced.
    environment.outputBefore = "before\n";
    const auto appended = veltro({"--driver-info", "--output", "/dev/stdout"}, environment);
    EXPECT_EQ(appended.exitCode, 0) << appended.err;
    EXPECT_EQ(appended.out, "before\n" + expected);
}

TEST_F(DriverInfoRun, FailuresExitWithTwo) {
    const auto missing = folder / "missing" / "report.txt";
    const auto unwritable =
        veltro({"--driver-info", "--connect", sqlite(), "--output", missing.string()});
    EXPECT_EQ(unwritable.exitCode, 2);
    EXPECT_EQ(unwritable.err, "veltro: cannot write the report: File Path Name: <" +
                                  missing.string() + "> All or part of the path is invalid.\n");

    const auto refused = veltro({"--driver-info", "--connect", sqlite(), "--diff",
                                 "Driver={Veltro Test};FailConnect=28000|18456|Login failed"});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err.rfind("veltro: could not connect to the second data source (--diff): "
                                "Login failed",
                                0),
              0u)
        << refused.err;
}

TEST_F(DriverInfoRun, ADataSourceAgainstItselfHasNoDifferences) {
    const auto same = veltro({"--driver-info", "--connect", sqlite(), "--diff", sqlite()});
    EXPECT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(same.out, "");
    EXPECT_EQ(same.err, "");
}

TEST_F(DriverInfoRun, SqliteAgainstPostgresShowsTheLinesThatDiffer) {
    const std::string postgres = test::postgresConnectString();
    VELTRO_REQUIRE_POSTGRES_OR_SKIP(postgres);
    const auto differ = veltro({"--driver-info", "--connect", sqlite(), "--diff", postgres});
    EXPECT_EQ(differ.exitCode, 1) << differ.err;
    EXPECT_EQ(differ.out.rfind("--- a/SQLite\n+++ b/PostgreSQL\n@@ -", 0), 0u) << differ.out;
    for (const char* line : {"\n-                 DBMS - SQLite version ",
                             "\n+                 DBMS - PostgreSQL version ",
                             "\n+        Database Name - veltro_test\r\n"}) {
        EXPECT_NE(differ.out.find(line), std::string::npos) << line;
    }
}

// The differences, applied by patch to one saved report, give the other.
TEST_F(DriverInfoRun, PatchTurnsOneSavedReportIntoTheOther) {
    if (!std::filesystem::exists("/usr/bin/patch")) {
        GTEST_SKIP() << "patch is not installed (scripts/setup installs it)";
    }
    const auto first = folder / "sqlite.txt";
    const auto second = folder / "edge.txt";
    ASSERT_EQ(veltro({"--driver-info", "--connect", sqlite(), "--output", first.string()}).exitCode,
              0);
    ASSERT_EQ(
        veltro({"--driver-info", "--connect", test::edgeCaseDriver(), "--output", second.string()})
            .exitCode,
        0);
    const auto differ =
        veltro({"--driver-info", "--connect", sqlite(), "--diff", test::edgeCaseDriver()});
    ASSERT_EQ(differ.exitCode, 1) << differ.err;
    std::ofstream(folder / "report.diff", std::ios::binary) << differ.out;
    const auto patched = test::runProgram(
        "/usr/bin/patch", {"--quiet", first.string(), (folder / "report.diff").string()}, folder,
        "");
    EXPECT_EQ(patched.exitCode, 0) << patched.out << patched.err;
    EXPECT_EQ(test::readWholeFile(first), test::readWholeFile(second));
}

} // namespace
} // namespace veltro
