// The driver information report as a whole: the test driver's edge cases byte for byte, the
// answers one driver cannot give at once, and pages without a connection.
#include "DriverInfoData.h"

#include "driverinfo/DriverInfoReport.h"
#include "odbc/OdbcConnection.h"

#include <gtest/gtest.h>

namespace veltro {
namespace {

TEST(DriverInfoReport, TheEdgeCaseDriverGivesTheExpectedReportByteForByte) {
    const DriverInfoReport report(test::openConnection(test::edgeCaseDriver()));
    const std::string expected = test::expectedEdgeCaseReport();
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(report.fileText(false), expected);
}

TEST(DriverInfoReport, AnswersThatOneDriverCannotGiveAtOnce) {
    const std::string special75 = std::string(74, '#') + "$";
    struct Case {
        std::string attributes;
        std::string lines;
    };
    for (const Case& c : {
             Case{"Info.SQL_ALTER_TABLE=3", "\n  ALTER TABLE Support - ADD,DROP\n"},
             Case{"Info.SQL_ALTER_TABLE=0", "\n  ALTER TABLE Support - <none>\n"},
             Case{"Info.SQL_KEYWORDS=ONE TWO", "-------------------------\nONE TWO\n\n   "},
             Case{"Info.SQL_KEYWORDS=", "-------------------------\n\n\n   "},
             Case{"Info.SQL_SPECIAL_CHARACTERS=" + special75,
                  "-------------------\n" + special75 + "\n\nLimits\n"},
             Case{"Info.SQL_SPECIAL_CHARACTERS=", "-------------------\n<none>\n\n\nLimits\n"},
             Case{"Info.SQL_TIMEDATE_FUNCTIONS=0x6000;Info.SQL_TIMEDATE_ADD_INTERVALS=0xE",
                  "\nTimestamp Add Intervals:\nSecond,Minute,Hour\n\nTimestamp Diff "
                  "Intervals:\nSecond Fraction,Second,Minute,Hour,Day,Week,Month,Quarter,"
                  "Year\n\n\nMiscellaneous\n"},
             // Without SQLGetTypeInfo the four tables have their headings alone.
             Case{"Missing=SQLGetTypeInfo",
                  "----------\n\nNative type         SQL Type          Precision   Min Scale  "
                  "Max Scale\n-----------         --------          ---------   ---------  "
                  "---------\n\nNative type         Nullable"},
         }) {
        const DriverInfoReport report(test::openConnection(test::edgeCaseDriver(c.attributes)));
        EXPECT_NE(report.text(false).find(c.lines), std::string::npos) << c.attributes;
    }
}

TEST(DriverInfoReport, WithoutAConnectionThePagesAskAndWriteNothing) {
    DriverInfoReport report(std::make_shared<OdbcConnection>());
    EXPECT_EQ(report.fileText(false), "Cursor Library is Not Loaded\r\n\r\n");
    EXPECT_EQ(report.text(true), "Cursor Library is Loaded\n\n");
    EXPECT_TRUE(report.driverInfo.dbmsName.empty());
    report.functions.RefreshInfo();
    ASSERT_EQ(report.functions.apiFunctions.size(), 56u);
    ASSERT_EQ(report.functions.sqlFunctions.size(), 64u);
    for (const auto* rows : {&report.functions.apiFunctions, &report.functions.sqlFunctions}) {
        for (const FunctionRow& row : *rows) {
            EXPECT_FALSE(row.supported) << row.name;
        }
    }
}

TEST(DriverInfoReport, TheSuggestedFileNameIsTheDriverNameUpToItsFirstPeriod) {
    EXPECT_EQ(suggestedReportName("libedge.odbc.so"), "libedge");
    EXPECT_EQ(suggestedReportName("PSQLODBC"), "PSQLODBC");
}

} // namespace
} // namespace veltro
