// What only a MariaDB server shows: a cancel that reaches the server, a procedure with two
// result sets, and the driver report of the MariaDB driver.
#include "BatchHarness.h"
#include "DriverInfoData.h"
#include "TestDatabases.h"

#include "driverinfo/DriverInfoReport.h"
#include "odbc/OdbcConnection.h"

#include <gtest/gtest.h>

#include <chrono>

namespace veltro {
namespace {

using test::BatchHarness;

class MariadbSession : public testing::Test {
protected:
    void SetUp() override {
        connectString = test::mariadbConnectString();
        VELTRO_REQUIRE_MARIADB_OR_SKIP(connectString);
    }

    std::string connectString;
};

// The headings of a report's sections, in order: each a line underlined with dashes.
std::vector<std::string> headings(const std::string& report) {
    std::vector<std::string> found;
    std::string previous;
    for (std::size_t start = 0; start < report.size();) {
        const std::size_t end = report.find("\r\n", start);
        const std::string line = report.substr(start, end - start);
        if (!line.empty() && line.find_first_not_of('-') == std::string::npos &&
            line.size() == previous.size()) {
            found.push_back(previous);
        }
        previous = line;
        start = end == std::string::npos ? report.size() : end + 2;
    }
    return found;
}

TEST_F(MariadbSession, DriverReportIsWrittenWhole) {
    const DriverInfoReport report(test::openConnection(connectString));
    const std::string text = report.fileText(false);
    EXPECT_EQ(headings(text), headings(test::expectedEdgeCaseReport()));
    EXPECT_TRUE(text.ends_with("\r\n")) << text.substr(text.size() - 200);
    EXPECT_NE(text.find("\r\n          Qualifier Usage - "), std::string::npos);
    // A Unicode driver's wide-character types have their names.
    EXPECT_NE(text.find("\r\nVARCHAR             SQL_WVARCHAR "), std::string::npos);
    EXPECT_EQ(text.find("<unknown type>"), std::string::npos);
}

// Whether the server runs that statement, as another connection sees it.
bool serverRuns(const std::shared_ptr<OdbcConnection>& connection, const std::string& statement) {
    CRecordsetEx processes(connection);
    EXPECT_TRUE(processes.Execute(
        "SELECT COUNT(*) FROM information_schema.processlist WHERE info = '" + statement + "'"));
    return processes.GetFieldValue(0) != "0";
}

TEST_F(MariadbSession, CancelEndsTheQueryOnTheServer) {
    const auto watcher = test::openConnection(connectString);
    BatchHarness h(connectString);
    ASSERT_TRUE(h.connected);
    const std::string statement = "select sleep(60)";
    h.control.Execute(statement);
    // The cancel meets the statement on the server, not on its way there.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!serverRuns(watcher, statement)) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the query never started";
    }
    h.control.Cancel();
    h.waitForCompletion();
    EXPECT_EQ(h.session.statusText, "Query batch canceled") << h.batch().messageBuffer;
    EXPECT_FALSE(serverRuns(watcher, statement));
}

TEST_F(MariadbSession, CallGivesEachResultSetItsGrid) {
    BatchHarness h(connectString);
    ASSERT_TRUE(h.connected);
    h.run("DROP PROCEDURE IF EXISTS two_sets");
    // As the mariadb client reads a body with semicolons in it.
    h.run("DELIMITER ;;\nCREATE PROCEDURE two_sets() BEGIN SELECT 1 AS a; SELECT 'x' AS b, "
          "'y' AS c; END;;\nDELIMITER ;");
    ASSERT_EQ(h.session.statusText, "Query batch completed") << h.batch().messageBuffer;
    h.run("CALL two_sets()");
    EXPECT_EQ(h.session.statusText, "Query batch completed") << h.batch().messageBuffer;
    ASSERT_EQ(h.view.grids.size(), 2u);
    EXPECT_EQ(BatchHarness::cells(h.grid(0)),
              (std::vector<std::vector<std::string>>{{"a"}, {"1"}}));
    EXPECT_EQ(BatchHarness::cells(h.grid(1)),
              (std::vector<std::vector<std::string>>{{"b", "c"}, {"x", "y"}}));
}

} // namespace
} // namespace veltro
