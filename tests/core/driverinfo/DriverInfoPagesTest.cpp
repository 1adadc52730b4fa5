// What the pages show beyond the report: the selected data type, the function lists and their
// sorting, the keyword and interval lists.
#include "DriverInfoData.h"

#include "driverinfo/DriverInfoReport.h"
#include "odbc/OdbcConnection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace veltro {
namespace {

using testing::ElementsAre;

class DriverInfoPages : public testing::Test {
protected:
    DriverInfoReport report{test::openConnection(test::edgeCaseDriver())};
};

TEST_F(DriverInfoPages, TheSelectedDataTypeShowsItsAttributes) {
    DataTypesModel& types = report.dataTypes;
    types.RefreshInfo();
    ASSERT_EQ(types.typeList.size(), 6u);
    // The first type is selected; NULL attributes show as "<n/a>".
    EXPECT_EQ(types.sqlType, "SQL_VARCHAR");
    EXPECT_EQ(types.conversions.size(), 19u);
    EXPECT_EQ(types.literalPrefixSuffix, "','");
    EXPECT_EQ(types.unsignedText, "<n/a>");
    EXPECT_EQ(types.minimumScale, "<n/a>");

    types.SelectType("exactly twenty chars");
    EXPECT_EQ(types.literalPrefixSuffix, "<n/a>,<n/a>");
    EXPECT_EQ(types.nullable, "Unknown");
    EXPECT_EQ(types.money, "Yes");
    EXPECT_EQ(types.searchable, "Only with LIKE");
    EXPECT_THAT(types.conversions, ElementsAre("SQL_BIGINT", "SQL_BINARY", "SQL_BIT", "SQL_CHAR",
                                               "SQL_DATE", "SQL_REAL", "SQL_SMALLINT"));

    // A code outside the table, and a SEARCHABLE value ODBC does not define, which leaves
    // the field as it was.
    types.SelectType("a driver-specific type of long name");
    EXPECT_EQ(types.sqlType, "<new or driver-specific>");
    EXPECT_THAT(types.conversions, ElementsAre("<none>"));
    EXPECT_EQ(types.searchable, "Only with LIKE");
    EXPECT_EQ(types.createParams, "<none>");

    // Of two types with one name, the first one's attributes.
    types.SelectType("integer");
    EXPECT_EQ(types.sqlType, "SQL_INTEGER");
    EXPECT_EQ(types.precision, "10");
    EXPECT_EQ(types.autoIncrement, "Yes");

    // The wide-character types of a Unicode driver.
    types.SelectType("nvarchar");
    EXPECT_EQ(types.sqlType, "SQL_WVARCHAR");
    EXPECT_THAT(types.conversions, ElementsAre("SQL_CHAR", "SQL_VARCHAR", "SQL_WCHAR",
                                               "SQL_WLONGVARCHAR", "SQL_WVARCHAR"));

    types.SelectType("no such type");
    EXPECT_EQ(types.sqlType, "<n/a>?");
}

TEST_F(DriverInfoPages, FunctionListsInNameOrderAndSortedByEitherColumn) {
    FunctionsModel& functions = report.functions;
    functions.RefreshInfo();
    EXPECT_EQ(functions.apiFunctions.front().name, "SQLAllocConnect");
    EXPECT_EQ(functions.apiFunctions.back().name, "SQLTransact");
    const auto lenght = std::find_if(functions.sqlFunctions.begin(), functions.sqlFunctions.end(),
                                     [](const FunctionRow& row) { return row.name == "Lenght()"; });
    ASSERT_NE(lenght, functions.sqlFunctions.end());
    EXPECT_TRUE(lenght->supported);
    EXPECT_EQ(lenght->category, "String");
    // Name order without regard to case: "LCase()" before "Left()" before "Lenght()".
    EXPECT_TRUE(lenght > functions.sqlFunctions.begin() && std::prev(lenght)->name == "Left()");

    // The first click sorts descending, whichever column; each further click turns it round.
    functions.SortSqlFunctions(1);
    EXPECT_EQ(functions.sqlFunctions.front().category, "TimeDate");
    EXPECT_EQ(functions.sqlFunctions.back().category, "Conversion");
    functions.SortSqlFunctions(0);
    EXPECT_EQ(functions.sqlFunctions.front().name, "Abs()");
    EXPECT_EQ(functions.sqlFunctions.back().name, "Year()");
    functions.SortSqlFunctions(0);
    EXPECT_EQ(functions.sqlFunctions.front().name, "Year()");
}

TEST_F(DriverInfoPages, KeywordAndIntervalLists) {
    const std::vector<std::string> odbc = IdentifiersModel::OdbcKeywords();
    EXPECT_EQ(odbc.size(), 235u);
    EXPECT_EQ(std::count(odbc.begin(), odbc.end(), "ROWSSCHEMA"), 1);
    EXPECT_EQ(odbc.back(), "ZONE");
    // Alphabetical as a reader expects it: "CHAR_LENGTH" before "CHARACTER".
    EXPECT_LT(std::find(odbc.begin(), odbc.end(), "CHAR_LENGTH"),
              std::find(odbc.begin(), odbc.end(), "CHARACTER"));

    const std::vector<std::string> driver = report.identifiers.DriverKeywords();
    EXPECT_EQ(driver.size(), 36u);
    EXPECT_EQ(driver.front(), "AAA");
    EXPECT_EQ(driver.back(), "WAIT");
    EXPECT_THAT(splitCommaList(""), ElementsAre());
    EXPECT_THAT(splitCommaList("a,,b "), ElementsAre("a", "", "b "));

    // TIMESTAMPADD without intervals lists all nine unchecked; no TIMESTAMPDIFF, no list.
    const auto added = report.limits.AddIntervals();
    ASSERT_TRUE(added.has_value());
    ASSERT_EQ(added->size(), 9u);
    EXPECT_TRUE(std::none_of(added->begin(), added->end(),
                             [](const IntervalRow& row) { return row.supported; }));
    EXPECT_FALSE(report.limits.DiffIntervals().has_value());
}

} // namespace
} // namespace veltro
