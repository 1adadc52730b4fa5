#include "TestDatabases.h"

#include "odbc/ConnectStringBuilder.h"
#include "odbc/OdbcConnection.h"

#include <gtest/gtest.h>
#include <sqlext.h>

#include <algorithm>

namespace veltro {
namespace {

TEST(ConnectString, PlainValuesStayPlainAndOthersAreBraced) {
    EXPECT_EQ(buildConnectString("Sales", false, "alice", "secret"),
              "DSN=Sales;UID=alice;PWD=secret");
    EXPECT_EQ(buildConnectString("SQLite3", true, "", "", "Database=/tmp/a.db"),
              "Driver={SQLite3};Database=/tmp/a.db");
    EXPECT_EQ(connectAttributeValue("pa;ss}word=1"), "{pa;ss}}word=1}");
    EXPECT_EQ(connectAttributeValue(" padded "), "{ padded }");
}

TEST(ConnectString, PasswordWithSeparatorsCannotChangeTheDriver) {
    // A password that tries to end the attribute and name another driver.
    const std::string hostile = "x;Driver={Evil};PWD=}";
    const std::string text = buildConnectString(
        "SQLite3", true, "", hostile, "Database=" + (test::workFolder("cs") / "c.db").string());
    OdbcConnection connection;
    ASSERT_TRUE(connection.open(text, nullptr)) << text;
    EXPECT_EQ(connection.infoText(SQL_DBMS_NAME), "SQLite");
}

TEST(ConnectString, DriverManagerListsTheRegisteredDrivers) {
    const auto drivers = listDrivers();
    EXPECT_NE(std::find(drivers.begin(), drivers.end(), "SQLite3"), drivers.end());
    EXPECT_NE(std::find(drivers.begin(), drivers.end(), "Veltro Test"), drivers.end());
}

} // namespace
} // namespace veltro
