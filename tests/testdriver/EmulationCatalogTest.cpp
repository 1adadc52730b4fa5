// The DBMS statements the program sends and the catalog functions, answered from
// the profile and the SQLite schema.
#include "V2Statement.h"

#include <gtest/gtest.h>

using namespace veltro::testdriver::test;

namespace {

std::optional<std::string> text(const char* value) {
    return std::string(value);
}

const std::string sqlServerProfile =
    std::string("Profile=") + VELTRO_TESTDRIVER_PROFILE_DIR + "/sqlserver.ini;";

std::vector<Row> query(const V2Connection& connection, const std::string& sql) {
    V2Statement statement(connection);
    EXPECT_EQ(statement.execute(sql), SQL_SUCCESS) << sql;
    return statement.rows();
}

} // namespace

TEST(Emulation, DatabasesAndUse) {
    V2Connection connection(sqlServerProfile);
    EXPECT_EQ(query(connection, "SELECT name FROM master..sysdatabases ORDER BY name"),
              (std::vector<Row>{{text("master")}, {text("Sales")}, {text("tempdb")}}));
    EXPECT_EQ(query(connection, "select db_name() dbname"), (std::vector<Row>{{text("master")}}));

    V2Statement use(connection);
    EXPECT_EQ(use.execute("USE [Sales];"), SQL_SUCCESS);
    EXPECT_EQ(query(connection, "select db_name() dbname"), (std::vector<Row>{{text("Sales")}}));
    EXPECT_EQ(connection.infoText(SQL_DATABASE_NAME), "Sales");

    V2Statement unknown(connection);
    EXPECT_EQ(unknown.execute("use Nowhere"), SQL_ERROR);
    EXPECT_EQ(unknown.errors().at(0).message,
              "[Veltro][TestDriver]Database 'Nowhere' does not exist.");
}

TEST(Emulation, DatabaseListCanFail) {
    V2Connection connection("DatabasesError=42000|229|permission denied");
    V2Statement statement(connection);
    EXPECT_EQ(statement.execute("SELECT name FROM master..sysdatabases ORDER BY name"), SQL_ERROR);
    EXPECT_EQ(statement.errors().at(0).native, 229);
}

TEST(Emulation, ObjectSourcesForEachDialect) {
    V2Connection connection(sqlServerProfile);
    const std::vector<Row> view = {{text("CREATE VIEW [dbo].[Recent Orders] AS")},
                                   {text("  SELECT * FROM orders WHERE placed > '2024-01-01'")}};
    V2Statement helpText(connection);
    ASSERT_EQ(helpText.execute("sp_helptext 'dbo.Recent Orders'"), SQL_SUCCESS);
    EXPECT_EQ(helpText.columnName(1), "Text");
    EXPECT_EQ(helpText.rows(), view);

    EXPECT_EQ(query(connection, "SELECT text FROM syscomments where id = object_id('AddOrder') "
                                "order by number, colid2, colid")
                  .size(),
              2u);
    EXPECT_EQ(query(connection, "select TEXT from ALL_SOURCE where type = 'VIEW' and NAME = "
                                "'Recent Orders'"),
              view);

    V2Statement unknown(connection);
    EXPECT_EQ(unknown.execute("sp_helptext nothing"), SQL_ERROR);
    EXPECT_EQ(unknown.errors().at(0).state, "37000");
}

TEST(Emulation, EmulatedAndSqliteStatementsMixInOneBatch) {
    V2Connection connection(sqlServerProfile);
    V2Statement statement(connection);
    ASSERT_EQ(statement.execute("use Sales; select db_name() dbname; select 5"), SQL_SUCCESS);
    ASSERT_EQ(SQLMoreResults(statement.handle()), SQL_SUCCESS);
    EXPECT_EQ(statement.rows(), (std::vector<Row>{{text("Sales")}}));
    ASSERT_EQ(SQLMoreResults(statement.handle()), SQL_SUCCESS);
    EXPECT_EQ(statement.rows(), (std::vector<Row>{{text("5")}}));
}

TEST(Catalog, TablesFilteredByTypeAndPattern) {
    V2Connection connection(sqlServerProfile);
    query(connection, "CREATE TABLE orders(id INTEGER NOT NULL, note TEXT)");
    query(connection, "CREATE VIEW order_view AS SELECT id FROM orders");

    V2Statement statement(connection);
    ASSERT_EQ(SQLTables(statement.handle(), nullptr, 0, nullptr, 0, (SQLCHAR*)"%", SQL_NTS,
                        (SQLCHAR*)"'VIEW'", SQL_NTS),
              SQL_SUCCESS);
    EXPECT_EQ(statement.columnName(1), "TABLE_QUALIFIER");
    EXPECT_EQ(
        statement.rows(),
        (std::vector<Row>{
            {std::nullopt, text("dbo"), text("order_view"), text("VIEW"), std::nullopt},
            {text("Sales"), text("dbo"), text("Recent Orders"), text("VIEW"), std::nullopt}}));

    V2Statement system(connection);
    ASSERT_EQ(SQLTables(system.handle(), nullptr, 0, nullptr, 0, (SQLCHAR*)"o_j%", SQL_NTS,
                        (SQLCHAR*)"TABLE, SYSTEM TABLE", SQL_NTS),
              SQL_SUCCESS);
    const auto rows = system.rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][2], text("objects"));
}

TEST(Catalog, ColumnsUseOdbc2NamesAndSqliteSchema) {
    V2Connection connection(sqlServerProfile);
    query(connection, "CREATE TABLE orders(id INTEGER NOT NULL, note VARCHAR(30))");
    V2Statement statement(connection);
    ASSERT_EQ(SQLColumns(statement.handle(), nullptr, 0, nullptr, 0, (SQLCHAR*)"orders", SQL_NTS,
                         nullptr, 0),
              SQL_SUCCESS);
    EXPECT_EQ(statement.columnCount(), 12);
    EXPECT_EQ(statement.columnName(7), "PRECISION");
    const auto rows = statement.rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][3], text("id"));
    EXPECT_EQ(rows[0][10], text("0"));
    EXPECT_EQ(rows[1][4], text("12"));
    EXPECT_EQ(rows[1][6], text("30"));
}

TEST(Catalog, ProceduresKeepVersionSuffixes) {
    V2Connection connection(sqlServerProfile);
    V2Statement statement(connection);
    ASSERT_EQ(SQLProcedures(statement.handle(), nullptr, 0, nullptr, 0, (SQLCHAR*)"%", SQL_NTS),
              SQL_SUCCESS);
    EXPECT_EQ(statement.columnCount(), 8);
    const auto rows = statement.rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][2], text("AddOrder;1"));
    EXPECT_EQ(rows[0][7], text("2"));
    EXPECT_EQ(rows[1][2], text("sp.with dots;1"));
}

TEST(Catalog, TypeInfoFromProfileHonoursDataType) {
    V2Connection connection(sqlServerProfile);
    V2Statement all(connection);
    ASSERT_EQ(SQLGetTypeInfo(all.handle(), SQL_ALL_TYPES), SQL_SUCCESS);
    EXPECT_EQ(all.columnCount(), 19);
    const auto rows = all.rows();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[1], rows[2]);
    EXPECT_EQ(rows[3][1], text("0"));
    EXPECT_EQ(rows[3][2], text("10"));
    EXPECT_EQ(rows[3][3], std::nullopt);

    V2Statement varchar(connection);
    ASSERT_EQ(SQLGetTypeInfo(varchar.handle(), SQL_VARCHAR), SQL_SUCCESS);
    EXPECT_EQ(varchar.rows().size(), 2u);

    V2Connection plain;
    V2Statement defaults(plain);
    ASSERT_EQ(SQLGetTypeInfo(defaults.handle(), SQL_INTEGER), SQL_SUCCESS);
    const auto integer = defaults.rows();
    ASSERT_EQ(integer.size(), 1u);
    EXPECT_EQ(integer[0][0], text("INTEGER"));
}
