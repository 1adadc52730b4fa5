// What the driver claims per connection: info, functions, connect and allocation
// faults, seen by an ODBC 2 application through the driver manager.
#include "V2Statement.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace veltro::testdriver::test;

namespace {

const std::string sqlServerProfile =
    std::string("Profile=") + VELTRO_TESTDRIVER_PROFILE_DIR + "/sqlserver.ini;";

} // namespace

TEST(ConnectionProfile, DefaultsDescribeTheTestDbms) {
    V2Connection connection;
    ASSERT_EQ(connection.connectResult(), SQL_SUCCESS);
    EXPECT_EQ(connection.infoText(SQL_DBMS_NAME), "Veltro Test DBMS");
    EXPECT_EQ(connection.infoText(SQL_DRIVER_ODBC_VER), "03.00");
    EXPECT_EQ(connection.infoText(SQL_MULT_RESULT_SETS), "Y");
    EXPECT_EQ(connection.infoShort(SQL_ODBC_SQL_CONFORMANCE), SQL_OSC_CORE);
}

TEST(ConnectionProfile, InfoOverridesByNameNumberAndExplicitType) {
    V2Connection connection("DBMS_NAME=Sybase SQL Anywhere;SQL_DBMS_VER=17.0;Info.18=ignored;"
                            "SQL_ODBC_API_CONFORMANCE=2;Info.9999=u32:77;"
                            "Info.SQL_KEYWORDS={A;B}");
    ASSERT_EQ(connection.connectResult(), SQL_SUCCESS);
    EXPECT_EQ(connection.infoText(SQL_DBMS_NAME), "Sybase SQL Anywhere");
    // Later attributes win: Info.18 is SQL_DBMS_VER.
    EXPECT_EQ(connection.infoText(SQL_DBMS_VER), "ignored");
    EXPECT_EQ(connection.infoShort(SQL_ODBC_API_CONFORMANCE), 2);
    EXPECT_EQ(connection.infoInteger(9999), 77u);
    EXPECT_EQ(connection.infoText(SQL_KEYWORDS), "A;B");
}

TEST(ConnectionProfile, ConnectionStringOverridesProfileFile) {
    V2Connection fromFile(sqlServerProfile);
    ASSERT_TRUE(SQL_SUCCEEDED(fromFile.connectResult()));
    EXPECT_EQ(fromFile.infoText(SQL_DBMS_NAME), "Microsoft SQL Server");
    EXPECT_EQ(fromFile.infoInteger(SQL_GETDATA_EXTENSIONS), 0x0Fu);
    EXPECT_EQ(fromFile.infoText(SQL_DATABASE_NAME), "master");

    V2Connection overridden(sqlServerProfile + "SQL_DBMS_NAME=Oracle");
    EXPECT_EQ(overridden.infoText(SQL_DBMS_NAME), "Oracle");
    EXPECT_EQ(overridden.infoText(SQL_DBMS_VER), "15.00.2000");
}

TEST(ConnectionProfile, MissingFunctionsReachTheApplication) {
    V2Connection connection("Missing=SQLTables,SQLCancel,20");
    ASSERT_EQ(connection.connectResult(), SQL_SUCCESS);
    SQLUSMALLINT all[100] = {};
    ASSERT_EQ(SQLGetFunctions(connection.handle(), SQL_API_ALL_FUNCTIONS, all), SQL_SUCCESS);
    EXPECT_EQ(all[SQL_API_SQLTABLES], SQL_FALSE);
    EXPECT_EQ(all[SQL_API_SQLCANCEL], SQL_FALSE);
    EXPECT_EQ(all[SQL_API_SQLROWCOUNT], SQL_FALSE);
    EXPECT_EQ(all[SQL_API_SQLCOLUMNS], SQL_TRUE);
    EXPECT_EQ(all[SQL_API_SQLMORERESULTS], SQL_TRUE);

    SQLUSMALLINT single = SQL_TRUE;
    SQLGetFunctions(connection.handle(), SQL_API_SQLTABLES, &single);
    EXPECT_EQ(single, SQL_FALSE);

    V2Statement statement(connection);
    EXPECT_EQ(SQLTables(statement.handle(), nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0),
              SQL_ERROR);
    ASSERT_FALSE(statement.errors().empty());
}

TEST(ConnectionProfile, ConnectFaults) {
    V2Connection refused("FailConnect=28000|18456|Login failed for user 'sa'.");
    EXPECT_EQ(refused.connectResult(), SQL_ERROR);
    const auto errors = refused.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].state, "28000");
    EXPECT_EQ(errors[0].native, 18456);
    EXPECT_EQ(errors[0].message, "[Veltro][TestDriver]Login failed for user 'sa'.");

    V2Connection noData("FailConnect=NO_DATA");
    EXPECT_EQ(noData.connectResult(), SQL_NO_DATA);

    V2Connection badValue("FailExec=often");
    EXPECT_EQ(badValue.connectResult(), SQL_ERROR);
}

TEST(ConnectionProfile, TyposInProfileFilesFailTheConnection) {
    std::filesystem::create_directories(VELTRO_TEST_WORK_DIR);
    const std::string path = std::string(VELTRO_TEST_WORK_DIR) + "/typo-profile.ini";
    std::ofstream(path) << "[faults]\nFailExce = 1\n";
    V2Connection connection("Profile=" + path);
    EXPECT_EQ(connection.connectResult(), SQL_ERROR);
}

TEST(ConnectionProfile, SecondStatementAllocationFails) {
    V2Connection connection("FailAllocStmt=2;Error=HY001|7|Out of statements");
    HSTMT first = SQL_NULL_HSTMT;
    HSTMT second = SQL_NULL_HSTMT;
    EXPECT_EQ(SQLAllocStmt(connection.handle(), &first), SQL_SUCCESS);
    EXPECT_EQ(SQLAllocStmt(connection.handle(), &second), SQL_ERROR);
    const auto errors = connection.errors();
    ASSERT_EQ(errors.size(), 1u);
    // The driver manager maps HY001 to its ODBC 2 name for this application.
    EXPECT_EQ(errors[0].state, "S1001");
    EXPECT_EQ(errors[0].message, "[Veltro][TestDriver]Out of statements");
    SQLFreeStmt(first, SQL_DROP);
}
