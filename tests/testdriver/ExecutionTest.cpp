// Statements on SQLite through the driver manager: batches, row counts, SQLGetData
// rules and the column descriptions the profile can bend.
#include "V2Statement.h"

#include <gtest/gtest.h>

using namespace veltro::testdriver::test;

namespace {

std::optional<std::string> text(const char* value) {
    return std::string(value);
}

struct Column {
    SQLSMALLINT type = 0;
    SQLULEN size = 0;
    SQLSMALLINT digits = -1;
};

Column describe(V2Statement& statement, SQLUSMALLINT column) {
    Column result;
    SQLCHAR name[128];
    SQLSMALLINT length = 0;
    SQLSMALLINT nullable = 0;
    SQLDescribeCol(statement.handle(), column, name, sizeof name, &length, &result.type,
                   &result.size, &result.digits, &nullable);
    return result;
}

} // namespace

TEST(Execution, BatchGivesEachResultInTurn) {
    V2Connection connection;
    V2Statement setup(connection);
    ASSERT_EQ(setup.execute("CREATE TABLE t(id INTEGER, name TEXT);"
                            "INSERT INTO t VALUES (1, 'a'), (2, 'b'), (3, NULL)"),
              SQL_SUCCESS);

    V2Statement statement(connection);
    ASSERT_EQ(statement.execute("SELECT id FROM t ORDER BY id; SELECT name, id FROM t WHERE id = 1;"
                                "UPDATE t SET name = 'z' WHERE id > 1"),
              SQL_SUCCESS);
    EXPECT_EQ(statement.columnCount(), 1);
    EXPECT_EQ(statement.rows(), (std::vector<Row>{{text("1")}, {text("2")}, {text("3")}}));

    ASSERT_EQ(SQLMoreResults(statement.handle()), SQL_SUCCESS);
    EXPECT_EQ(statement.columnName(1), "name");
    EXPECT_EQ(statement.rows(), (std::vector<Row>{{text("a"), text("1")}}));

    ASSERT_EQ(SQLMoreResults(statement.handle()), SQL_SUCCESS);
    EXPECT_EQ(statement.columnCount(), 0);
    EXPECT_EQ(statement.rowCount(), 2);
    EXPECT_EQ(SQLMoreResults(statement.handle()), SQL_NO_DATA);
}

TEST(Execution, WithoutMultipleResultsOnlyTheFirstStatementRuns) {
    V2Connection connection("SQL_MULT_RESULT_SETS=N");
    EXPECT_EQ(connection.infoText(SQL_MULT_RESULT_SETS), "N");
    V2Statement statement(connection);
    ASSERT_EQ(statement.execute("SELECT 1; CREATE TABLE never(x)"), SQL_SUCCESS);
    EXPECT_EQ(statement.rows().size(), 1u);
    EXPECT_EQ(SQLMoreResults(statement.handle()), SQL_NO_DATA);

    V2Statement check(connection);
    EXPECT_EQ(check.execute("SELECT * FROM never"), SQL_ERROR);
}

TEST(Execution, RowCountCanBeMadeUnknown) {
    V2Connection connection("RowCount=-1");
    V2Statement statement(connection);
    ASSERT_EQ(statement.execute("CREATE TABLE t(x); INSERT INTO t VALUES (1), (2)"), SQL_SUCCESS);
    ASSERT_EQ(SQLMoreResults(statement.handle()), SQL_SUCCESS);
    EXPECT_EQ(statement.rowCount(), -1);
}

TEST(Execution, GetDataReadsLongValuesInPieces) {
    V2Connection connection;
    V2Statement statement(connection);
    ASSERT_EQ(statement.execute("SELECT 'abcdefgh', NULL, x'00FF10', ''"), SQL_SUCCESS);
    ASSERT_EQ(SQLFetch(statement.handle()), SQL_SUCCESS);
    char buffer[4];
    SQLLEN indicator = 0;
    EXPECT_EQ(SQLGetData(statement.handle(), 1, SQL_C_CHAR, buffer, sizeof buffer, &indicator),
              SQL_SUCCESS_WITH_INFO);
    EXPECT_EQ(statement.errors().at(0).state, "01004");
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(indicator, 8);
    EXPECT_EQ(SQLGetData(statement.handle(), 1, SQL_C_CHAR, buffer, sizeof buffer, &indicator),
              SQL_SUCCESS_WITH_INFO);
    EXPECT_STREQ(buffer, "def");
    EXPECT_EQ(indicator, 5);
    EXPECT_EQ(SQLGetData(statement.handle(), 1, SQL_C_CHAR, buffer, sizeof buffer, &indicator),
              SQL_SUCCESS);
    EXPECT_STREQ(buffer, "gh");
    EXPECT_EQ(indicator, 2);
    EXPECT_EQ(SQLGetData(statement.handle(), 1, SQL_C_CHAR, buffer, sizeof buffer, &indicator),
              SQL_NO_DATA);

    EXPECT_EQ(SQLGetData(statement.handle(), 2, SQL_C_CHAR, buffer, sizeof buffer, &indicator),
              SQL_SUCCESS);
    EXPECT_EQ(indicator, SQL_NULL_DATA);

    // Binary goes out as upper-case hex, whole bytes per piece.
    char hex[6];
    EXPECT_EQ(SQLGetData(statement.handle(), 3, SQL_C_CHAR, hex, sizeof hex, &indicator),
              SQL_SUCCESS_WITH_INFO);
    EXPECT_STREQ(hex, "00FF");
    EXPECT_EQ(SQLGetData(statement.handle(), 3, SQL_C_CHAR, hex, sizeof hex, &indicator),
              SQL_SUCCESS);
    EXPECT_STREQ(hex, "10");

    EXPECT_EQ(SQLGetData(statement.handle(), 4, SQL_C_CHAR, buffer, sizeof buffer, &indicator),
              SQL_SUCCESS);
    EXPECT_EQ(indicator, 0);
    EXPECT_EQ(SQLGetData(statement.handle(), 4, SQL_C_CHAR, buffer, sizeof buffer, &indicator),
              SQL_NO_DATA);
}

TEST(Execution, NoTotalForLongColumnsOnly) {
    V2Connection connection("NoTotal=long");
    V2Statement statement(connection);
    ASSERT_EQ(statement.execute("CREATE TABLE t(memo LONGTEXT, short VARCHAR(10));"
                                "INSERT INTO t VALUES ('0123456789', '0123456789')"),
              SQL_SUCCESS);
    ASSERT_EQ(SQLMoreResults(statement.handle()), SQL_SUCCESS);
    ASSERT_EQ(statement.execute("SELECT memo, short FROM t"), SQL_SUCCESS);
    ASSERT_EQ(SQLFetch(statement.handle()), SQL_SUCCESS);
    char buffer[5];
    SQLLEN indicator = 0;
    SQLGetData(statement.handle(), 1, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
    EXPECT_EQ(indicator, SQL_NO_TOTAL);
    SQLGetData(statement.handle(), 2, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
    EXPECT_EQ(indicator, 10);
}

TEST(Execution, DeclaredTypesMapAndCanBeOverridden) {
    V2Connection connection("ColumnType.price=SQL_DECIMAL(12,3);ColumnSize.code=5");
    V2Statement statement(connection);
    ASSERT_EQ(statement.execute("CREATE TABLE t(n INTEGER, code VARCHAR(40), amount DECIMAL(9,2),"
                                " memo CLOB, data BLOB, price TEXT)"),
              SQL_SUCCESS);
    ASSERT_EQ(statement.execute("SELECT n, code, amount, memo, data, price, 1 + 1 FROM t"),
              SQL_SUCCESS);
    EXPECT_EQ(describe(statement, 1).type, SQL_INTEGER);
    EXPECT_EQ(describe(statement, 2).type, SQL_VARCHAR);
    EXPECT_EQ(describe(statement, 2).size, 5u);
    EXPECT_EQ(describe(statement, 3).type, SQL_DECIMAL);
    EXPECT_EQ(describe(statement, 3).size, 9u);
    EXPECT_EQ(describe(statement, 3).digits, 2);
    EXPECT_EQ(describe(statement, 4).type, SQL_LONGVARCHAR);
    EXPECT_EQ(describe(statement, 5).type, SQL_LONGVARBINARY);
    EXPECT_EQ(describe(statement, 6).type, SQL_DECIMAL);
    EXPECT_EQ(describe(statement, 6).digits, 3);
    EXPECT_EQ(describe(statement, 7).type, SQL_VARCHAR);
    EXPECT_EQ(describe(statement, 7).size, 255u);
}
