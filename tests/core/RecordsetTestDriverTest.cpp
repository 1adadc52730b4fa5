// CRecordsetEx against driver behaviour the real drivers do not show on cue.
#include "TestDriver.h"

#include "odbc/CRecordsetEx.h"
#include "odbc/DatabaseError.h"
#include "odbc/OdbcConnection.h"

#include <gtest/gtest.h>
#include <sqlext.h>

namespace veltro {
namespace {

class RecordsetOnTestDriver : public testing::Test {
protected:
    void open(const std::string& attributes) {
        connection = std::make_shared<OdbcConnection>();
        ASSERT_TRUE(connection->open(test::testDriver(attributes), nullptr));
        recordset = std::make_unique<CRecordsetEx>(connection);
    }

    std::string firstValue(const std::string& sql, int column = 0) {
        EXPECT_TRUE(recordset->Execute(sql));
        std::string value = "untouched";
        for (int k = 0; k <= column; ++k) {
            recordset->GetFieldValue(k, value);
        }
        return value;
    }

    std::shared_ptr<OdbcConnection> connection;
    std::unique_ptr<CRecordsetEx> recordset;
};

TEST_F(RecordsetOnTestDriver, ShortValueLongerThanItsDeclaredSizeReadsWhole) {
    open("ColumnSize=5");
    EXPECT_EQ(firstValue("SELECT 'abcdefghij' AS v"), "abcdefghij");
    EXPECT_EQ(recordset->GetColumnInfo(0).precision, 5u);
}

TEST_F(RecordsetOnTestDriver, LongValueOfUnknownTotalLengthIsReadInPieces) {
    open("NoTotal=all;ColumnType.v=SQL_LONGVARCHAR;ColumnSize.w=3");
    const std::string text =
        "SELECT replace(hex(zeroblob(60000)), '0', 'ab') AS v, 'wxyz-long' AS w";
    ASSERT_TRUE(recordset->Execute(text));
    EXPECT_EQ(recordset->GetColumnInfo(0).sqlType, SQL_LONGVARCHAR);
    std::string value;
    recordset->GetFieldValue(0, value);
    EXPECT_EQ(value.size(), 240000u);
    EXPECT_EQ(value.substr(0, 6), "ababab");
    recordset->GetFieldValue(1, value);
    EXPECT_EQ(value, "wxyz-long");
}

// A driver may round an approximate number to fit a short first buffer before it says
// 01004: the first read has room for any such value.
TEST_F(RecordsetOnTestDriver, ApproximateNumberDescribedTooShortReadsWholeAtOnce) {
    open("RoundApproximate=1;ColumnType.v=SQL_DOUBLE;ColumnSize.v=15;ColumnType.f=SQL_FLOAT;"
         "ColumnSize.f=15;ColumnType.r=SQL_REAL;ColumnSize.r=7");
    ASSERT_TRUE(recordset->Execute("SELECT '-1.7976931348623157e308' AS v, "
                                   "'0.30000000000000004' AS f, '1.17549435e-38' AS r"));
    std::vector<std::string> values(3);
    for (int k = 0; k < 3; ++k) {
        recordset->GetFieldValue(k, values[k]);
    }
    EXPECT_EQ(values, (std::vector<std::string>{"-1.7976931348623157e308", "0.30000000000000004",
                                                "1.17549435e-38"}));
}

// A length no answer can have is the driver's fault, never a value.
TEST_F(RecordsetOnTestDriver, ImpossibleLengthEndsTheReadWithAnErrorNamingColumnAndAnswer) {
    struct Case {
        const char* attributes;
        const char* error;
    };
    const Case cases[] = {
        {"ReportedLength.v=-13", "The driver answered SQLGetData for column 2 (v) with "
                                 "SQL_SUCCESS and the impossible length -13.\n"},
        {"ReportedLength.v=-3", "The driver answered SQLGetData for column 2 (v) with "
                                "SQL_SUCCESS and the impossible length -3.\n"},
        {"ColumnSize.v=5;ReportedLength.v=50",
         "The driver answered SQLGetData for column 2 (v) with SQL_SUCCESS and the impossible "
         "length 50.\n"},
        {"ColumnSize.v=2;ReportedLength.v=-13",
         "The driver answered SQLGetData for column 2 (v) with SQL_SUCCESS_WITH_INFO and the "
         "impossible length -13.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        open(c.attributes);
        ASSERT_TRUE(recordset->Execute("SELECT 1 AS k, 'abc' AS v"));
        std::string value;
        recordset->GetFieldValue(0, value);
        try {
            recordset->GetFieldValue(1, value);
            ADD_FAILURE() << "read as '" << value << "'";
        } catch (const DatabaseError& e) {
            EXPECT_EQ(e.returnCode(), SQL_ERROR);
            EXPECT_EQ(e.displayText(), c.error);
        }
    }
}

TEST_F(RecordsetOnTestDriver, StillExecutingCallsAreRepeatedUntilDone) {
    open("StillExecuting.Exec=3;StillExecuting.Fetch=2;StillExecuting.GetData=2");
    ASSERT_TRUE(recordset->Execute("SELECT 'one' AS a UNION ALL SELECT 'two'"));
    std::string value;
    recordset->GetFieldValue(0, value);
    EXPECT_EQ(value, "one");
    recordset->MoveNext();
    recordset->GetFieldValue(0, value);
    EXPECT_EQ(value, "two");
    recordset->MoveNext();
    EXPECT_TRUE(recordset->IsEOF());
}

TEST_F(RecordsetOnTestDriver, BinaryReadsAsPrefixedHex) {
    open("");
    ASSERT_TRUE(recordset->Execute("CREATE TABLE t (b BLOB)"));
    ASSERT_TRUE(recordset->Execute("INSERT INTO t VALUES (x'01ab'), (NULL)"));
    ASSERT_TRUE(recordset->Execute("SELECT b FROM t"));
    EXPECT_EQ(recordset->GetColumnInfo(0).sqlType, SQL_LONGVARBINARY);
    std::string value;
    recordset->GetFieldValue(0, value);
    EXPECT_EQ(value, "0x01AB");
    recordset->MoveNext();
    recordset->GetFieldValue(0, value);
    EXPECT_EQ(value, "");
}

TEST_F(RecordsetOnTestDriver, RefusedStatementHandleIsNoException) {
    open("FailAllocStmt=1");
    EXPECT_FALSE(recordset->Execute("SELECT 1"));
    EXPECT_FALSE(recordset->IsOpen());
    EXPECT_TRUE(recordset->Execute("SELECT 1"));
}

TEST_F(RecordsetOnTestDriver, EveryDiagnosticRecordGivesOneLineOfEachText) {
    open("FailExec=1;ErrorRecords=2;Error={42S02|208|Invalid object name 'x'.}");
    try {
        recordset->Execute("SELECT 1");
        FAIL() << "no error";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.errorText(), "Invalid object name 'x'.\nInvalid object name 'x'. (record 2)\n");
        EXPECT_EQ(e.stateText(), "State:S0002,Native:208,Origin:[Veltro][TestDriver]\n"
                                 "State:S0002,Native:209,Origin:[Veltro][TestDriver]\n");
    }
    EXPECT_FALSE(recordset->IsOpen());
}

TEST_F(RecordsetOnTestDriver, FetchErrorSurfacesAsDatabaseError) {
    open("FailFetch=2");
    ASSERT_TRUE(recordset->Execute("SELECT 1 UNION ALL SELECT 2"));
    EXPECT_THROW(recordset->MoveNext(), DatabaseError);
}

} // namespace
} // namespace veltro
