// CRecordsetEx against the real drivers: SQLite 3 ODBC, PostgreSQL through psqlODBC and
// MariaDB through MariaDB Connector/ODBC.
#include "RealDrivers.h"

#include "odbc/CRecordsetEx.h"
#include "odbc/DatabaseError.h"
#include "odbc/OdbcConnection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlext.h>

namespace veltro {
namespace {

using test::RealDriver;

class RecordsetOnRealDrivers : public testing::TestWithParam<RealDriver> {
protected:
    void SetUp() override {
        const std::string connectString = test::realDriverConnectString(GetParam(), "recordset");
        VELTRO_REQUIRE_REAL_DRIVER_OR_SKIP(GetParam(), connectString);
        connection = std::make_shared<OdbcConnection>();
        ASSERT_TRUE(connection->open(connectString, nullptr));
        recordset = std::make_unique<CRecordsetEx>(connection);
        run("DROP TABLE IF EXISTS t");
        run(std::string("CREATE TABLE t (id INTEGER, txt VARCHAR(10), big ") +
            (GetParam() == RealDriver::mariadb ? "LONGTEXT)" : "TEXT)"));
    }

    void run(const std::string& sql) {
        ASSERT_TRUE(recordset->Execute(sql));
        recordset->Close();
    }

    // The values of the current result set, row by row.
    std::vector<std::vector<std::string>> readRows() {
        std::vector<std::vector<std::string>> rows;
        while (!recordset->IsEOF()) {
            std::vector<std::string>& row = rows.emplace_back();
            for (int k = 0; k < recordset->resultColumnCount(); ++k) {
                recordset->GetFieldValue(k, row.emplace_back("untouched"));
            }
            recordset->MoveNext();
        }
        return rows;
    }

    std::shared_ptr<OdbcConnection> connection;
    std::unique_ptr<CRecordsetEx> recordset;
};

TEST_P(RecordsetOnRealDrivers, NullAndEmptyBothReadEmpty) {
    run("INSERT INTO t (id, txt, big) VALUES (1, '', NULL)");
    ASSERT_TRUE(recordset->Execute("SELECT txt, big, id FROM t"));
    EXPECT_FALSE(recordset->IsBOF());
    const auto rows = readRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"", "", "1"}));
}

TEST_P(RecordsetOnRealDrivers, LongTextReadsWhole) {
    std::string value;
    for (int i = 0; i < 100000; ++i) {
        value += static_cast<char>('a' + i % 26);
    }
    run("INSERT INTO t (id, big) VALUES (1, '" + value + "')");
    ASSERT_TRUE(recordset->Execute("SELECT big FROM t"));
    const auto rows = readRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].size(), value.size());
    EXPECT_EQ(rows[0][0], value);
}

TEST_P(RecordsetOnRealDrivers, MultiByteTextLongerInBytesThanItsPrecisionReadsWhole) {
    const std::string tenCharacters = "äöüßéèàçñø";
    run("INSERT INTO t (id, txt) VALUES (1, '" + tenCharacters + "')");
    ASSERT_TRUE(recordset->Execute("SELECT txt FROM t"));
    EXPECT_EQ(recordset->GetColumnInfo(0).precision, 10u);
    const auto rows = readRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], tenCharacters);
}

TEST_P(RecordsetOnRealDrivers, StatementWithoutResultSetIsNotFetched) {
    run("INSERT INTO t (id) VALUES (1)");
    ASSERT_TRUE(recordset->Execute("UPDATE t SET id = 2"));
    EXPECT_TRUE(recordset->IsOpen());
    EXPECT_EQ(recordset->resultColumnCount(), 0);
    std::string value = "untouched";
    recordset->GetFieldValue(0, value);
    EXPECT_EQ(value, "untouched");
    SQLLEN count = -1;
    ASSERT_TRUE(SQL_SUCCEEDED(SQLRowCount(recordset->statementHandle(), &count)));
    EXPECT_EQ(count, 1);
}

TEST_P(RecordsetOnRealDrivers, EmptySelectIsBofAndEof) {
    ASSERT_TRUE(recordset->Execute("SELECT id, txt FROM t"));
    EXPECT_EQ(recordset->resultColumnCount(), 2);
    EXPECT_EQ(recordset->GetColumnInfo(1).name, "txt");
    EXPECT_TRUE(recordset->IsBOF());
    EXPECT_TRUE(recordset->IsEOF());
}

TEST_P(RecordsetOnRealDrivers, ExecutesAgainAfterClose) {
    run("INSERT INTO t (id) VALUES (7)");
    ASSERT_TRUE(recordset->Execute("SELECT id FROM t"));
    recordset->Close();
    EXPECT_FALSE(recordset->IsOpen());
    ASSERT_TRUE(recordset->Execute("SELECT id + 1 FROM t"));
    const auto rows = readRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "8");
}

TEST_P(RecordsetOnRealDrivers, ColumnOutsideResultIsError1026) {
    run("INSERT INTO t (id) VALUES (1)");
    ASSERT_TRUE(recordset->Execute("SELECT id FROM t"));
    std::string value;
    try {
        recordset->GetFieldValue(1, value);
        FAIL() << "no error for column index 1 of 1";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.returnCode(), 1026);
    }
    EXPECT_THROW(recordset->GetFieldValue(-1, value), DatabaseError);
}

TEST_P(RecordsetOnRealDrivers, SyntaxErrorCarriesMessageAndStateLines) {
    try {
        recordset->Execute("SELEC id FROM t");
        FAIL() << "no error for a syntax error";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.returnCode(), SQL_ERROR);
        EXPECT_FALSE(recordset->IsOpen());
        // The origin tags leave the message and close the state line of their record.
        if (GetParam() == RealDriver::sqlite) {
            EXPECT_EQ(e.errorText(), "near \"SELEC\": syntax error (1)\n");
            EXPECT_EQ(e.stateText(), "State:S1000,Native:1,Origin:[SQLite]\n");
        } else if (GetParam() == RealDriver::mariadb) {
            EXPECT_EQ(e.errorText(), "You have an error in your SQL syntax; check the manual that "
                                     "corresponds to your MariaDB server version for the right "
                                     "syntax to use near 'SELEC id FROM t' at line 1\n");
            // The origin names the driver's and the server's versions.
            EXPECT_THAT(e.stateText(), testing::StartsWith("State:37000,Native:1064,Origin:[ma-"));
        } else {
            EXPECT_EQ(
                e.errorText(),
                "ERROR: syntax error at or near \"SELEC\";\nError while executing the query\n");
            EXPECT_EQ(e.stateText(), "State:42601,Native:1,Origin:\n");
        }
        EXPECT_EQ(e.displayText(), e.errorText() + e.stateText());
    }
}

// Every driver gives the same text for the same bytes, NULL apart from an empty value.
TEST_P(RecordsetOnRealDrivers, BinaryReadsAsUppercaseHexWhateverTheDriver) {
    const bool sqlite = GetParam() == RealDriver::sqlite;
    run("DROP TABLE IF EXISTS b");
    switch (GetParam()) {
    case RealDriver::sqlite:
        run("CREATE TABLE b (id INTEGER, v BLOB)");
        run("INSERT INTO b VALUES (1, X'00FF10'), (2, NULL), (3, zeroblob(30000))");
        break;
    case RealDriver::postgres:
        run("CREATE TABLE b (id INTEGER, v BYTEA)");
        run("INSERT INTO b VALUES (1, '\\x00ff10'::bytea), (2, NULL), "
            "(3, decode(repeat('01', 30000), 'hex'))");
        break;
    case RealDriver::mariadb:
        run("CREATE TABLE b (id INTEGER, v LONGBLOB)");
        run("INSERT INTO b VALUES (1, X'00FF10'), (2, NULL), (3, unhex(repeat('01', 30000)))");
        break;
    }
    ASSERT_TRUE(recordset->Execute("SELECT v FROM b ORDER BY id"));
    std::vector<std::pair<std::string, bool>> values;
    while (!recordset->IsEOF()) {
        bool isNull = false;
        recordset->GetFieldValue(0, values.emplace_back().first, &isNull);
        values.back().second = isNull;
        recordset->MoveNext();
    }
    std::string large = "0x";
    for (int i = 0; i < 30000; ++i) {
        large += sqlite ? "00" : "01";
    }
    EXPECT_EQ(values, (std::vector<std::pair<std::string, bool>>{
                          {"0x00FF10", false}, {"", true}, {large, false}}));
}

VELTRO_ON_EVERY_REAL_DRIVER(RecordsetOnRealDrivers);

class RecordsetOnPostgres : public RecordsetOnRealDrivers {};

TEST_P(RecordsetOnPostgres, DecimalReadsWholeWithSignAndPoint) {
    ASSERT_TRUE(recordset->Execute("SELECT CAST(-1234.50 AS DECIMAL(6,2))"));
    const ColumnInfo info = recordset->GetColumnInfo(0);
    EXPECT_EQ(info.precision, 6u);
    EXPECT_EQ(info.scale, 2);
    EXPECT_EQ(CRecordsetEx::GetTextLength(info.sqlType, info.precision), 9u);
    const auto rows = readRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "-1234.50");
}

TEST_P(RecordsetOnPostgres, SecondResultSetHasItsOwnColumnsAndStartsBeforeItsFirstRow) {
    ASSERT_TRUE(recordset->Execute("SELECT 1 AS first_col; SELECT 'x' AS a, 'y' AS b"));
    EXPECT_EQ(recordset->resultColumnCount(), 1);
    EXPECT_EQ(readRows(), (std::vector<std::vector<std::string>>{{"1"}}));

    ASSERT_TRUE(recordset->FlushResultSet());
    EXPECT_FALSE(recordset->IsBOF());
    EXPECT_FALSE(recordset->IsEOF());
    recordset->DescribeColumns();
    ASSERT_EQ(recordset->resultColumnCount(), 2);
    EXPECT_EQ(recordset->GetColumnInfo(0).name, "a");
    EXPECT_EQ(recordset->GetColumnInfo(1).name, "b");
    recordset->MoveNext();
    EXPECT_EQ(readRows(), (std::vector<std::vector<std::string>>{{"x", "y"}}));
    EXPECT_FALSE(recordset->FlushResultSet());
}

INSTANTIATE_TEST_SUITE_P(Drivers, RecordsetOnPostgres, testing::Values(RealDriver::postgres),
                         test::realDriverName);

} // namespace
} // namespace veltro
