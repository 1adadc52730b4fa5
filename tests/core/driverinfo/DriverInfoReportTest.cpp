// The driver information report as a whole: the test driver's edge cases byte for byte, the
// answers one driver cannot give at once, and pages without a connection.
#include "DriverInfoData.h"
#include "TestDatabases.h"

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

// The report's widths count characters: a line is never cut inside one, and a name of
// two-byte characters takes as many columns as one of one-byte characters.
TEST(DriverInfoReport, WidthsCountCharactersNotBytes) {
    std::string keywords = "éé";
    for (int i = 1; i < 26; ++i) {
        keywords += ",éé";
    }
    const auto profile = test::workFolder("driverinfo-characters") / "types.ini";
    std::ofstream(profile) << "[typeinfo]\ntype = café|SQL_INTEGER|10||||0|0|2|0|0|1||0|0\n";
    struct Case {
        std::string connectString;
        std::string lines;
    };
    for (const Case& c : {
             Case{test::edgeCaseDriver("Info.SQL_SPECIAL_CHARACTERS=" + std::string(74, '#') +
                                       "é$$"),
                  "-------------------\n" + std::string(74, '#') + "é\n$$\n\nLimits\n"},
             Case{test::edgeCaseDriver("Info.SQL_KEYWORDS=" + keywords),
                  "-------------------------\n" + keywords.substr(0, keywords.size() - 5) +
                      "\néé\n\n   "},
             Case{test::testDriver("Profile=" + profile.string()),
                  "\ncafé                SQL_INTEGER       10   "},
         }) {
        const DriverInfoReport report(test::openConnection(c.connectString));
        EXPECT_NE(report.text(false).find(c.lines), std::string::npos) << c.lines;
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
