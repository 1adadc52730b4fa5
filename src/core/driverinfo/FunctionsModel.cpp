#include "driverinfo/FunctionsModel.h"

#include "common/TextCompare.h"
#include "driverinfo/InfoSource.h"

#include <sqlext.h>

#include <algorithm>

namespace veltro {

namespace {

struct ApiFunction {
    const char* name;
    int number;
};

// In the order of their function numbers, 1 to 23 and 40 to 72.
constexpr ApiFunction apiFunctionTable[] = {
    {"SQLAllocConnect", 1},
    {"SQLAllocEnv", 2},
    {"SQLAllocStmt", 3},
    {"SQLBindCol", 4},
    {"SQLCancel", 5},
    {"SQLColAttributes", 6},
    {"SQLConnect", 7},
    {"SQLDescribeCol", 8},
    {"SQLDisconnect", 9},
    {"SQLError", 10},
    {"SQLExecDirect", 11},
    {"SQLExecute", 12},
    {"SQLFetch", 13},
    {"SQLFreeConnect", 14},
    {"SQLFreeEnv", 15},
    {"SQLFreeStmt", 16},
    {"SQLGetCursorName", 17},
    {"SQLNumResultCols", 18},
    {"SQLPrepare", 19},
    {"SQLRowCount", 20},
    {"SQLSetCursorName", 21},
    {"SQLSetParam", 22},
    {"SQLTransact", 23},
    {"SQLColumns", 40},
    {"SQLDriverConnect", 41},
    {"SQLGetConnectOption", 42},
    {"SQLGetData", 43},
    {"SQLGetFunctions", 44},
    {"SQLGetInfo", 45},
    {"SQLGetStmtOption", 46},
    {"SQLGetTypeInfo", 47},
    {"SQLParamData", 48},
    {"SQLPutData", 49},
    {"SQLSetConnectOption", 50},
    {"SQLSetStmtOption", 51},
    {"SQLSpecialColumns", 52},
    {"SQLStatistics", 53},
    {"SQLTables", 54},
    {"SQLBrowseConnect", 55},
    {"SQLColumnPrivileges", 56},
    {"SQLDataSources", 57},
    {"SQLDescribeParam", 58},
    {"SQLExtendedFetch", 59},
    {"SQLForeignKeys", 60},
    {"SQLMoreResults", 61},
    {"SQLNativeSql", 62},
    {"SQLNumParams", 63},
    {"SQLParamOptions", 64},
    {"SQLPrimaryKeys", 65},
    {"SQLProcedureColumns", 66},
    {"SQLProcedures", 67},
    {"SQLSetPos", 68},
    {"SQLSetScrollOptions", 69},
    {"SQLTablePrivileges", 70},
    {"SQLDrivers", 71},
    {"SQLBindParameter", 72},
};

struct ScalarFunction {
    const char* name;
    int bit;
};

struct ScalarCategory {
    const char* category;
    SQLUSMALLINT infoType;
    const char* reportHeading;
    std::vector<ScalarFunction> functions;
};

const std::vector<ScalarCategory>& scalarCategories() {
    static const std::vector<ScalarCategory> categories = {
        {"Conversion",
         SQL_CONVERT_FUNCTIONS,
         "SQL Conversion Functions\n------------------------\n",
         {{"Convert()", 0}}},
        {"Numeric",
         SQL_NUMERIC_FUNCTIONS,
         "SQL Numeric Functions\n---------------------\n",
         {{"Abs()", 0},     {"Acos()", 1},     {"Asin()", 2},   {"Atan()", 3},     {"Atan2()", 4},
          {"Ceiling()", 5}, {"Cos()", 6},      {"Cot()", 7},    {"Degrees()", 18}, {"Exp()", 8},
          {"Floor()", 9},   {"Log()", 10},     {"Log10()", 19}, {"Mod()", 11},     {"Pi()", 16},
          {"Power()", 20},  {"Radians()", 21}, {"Rand()", 17},  {"Round()", 22},   {"Sign()", 12},
          {"Sin()", 13},    {"Sqrt()", 14},    {"Tan()", 15},   {"Truncate()", 23}}},
        {"String",
         SQL_STRING_FUNCTIONS,
         "SQL String Functions\n--------------------\n",
         {{"Ascii()", 13},
          {"Char()", 14},
          {"Concat()", 0},
          {"Difference()", 15},
          {"Insert()", 1},
          {"LCase()", 6},
          {"Left()", 2},
          {"Lenght()", 4},
          {"Locate()", 5},
          {"Locate2()", 16},
          {"LTrim()", 3},
          {"Repeat()", 7},
          {"Replace()", 8},
          {"Right()", 9},
          {"RTrim()", 10},
          {"Soundex()", 17},
          {"Space()", 18},
          {"Substring()", 11},
          {"UCase()", 12}}},
        {"System",
         SQL_SYSTEM_FUNCTIONS,
         "SQL System Functions\n--------------------\n",
         {{"DBName()", 1}, {"IfNull()", 2}, {"UserName()", 0}}},
        {"TimeDate",
         SQL_TIMEDATE_FUNCTIONS,
         "SQL Time/Date Functions\n-----------------------\n",
         {{"CurDate()", 1},
          {"CurTime()", 9},
          {"DayName()", 15},
          {"DayOfMonth()", 2},
          {"DayOfWeek()", 3},
          {"DayOfYear()", 4},
          {"Hour()", 10},
          {"Minute()", 11},
          {"Month()", 5},
          {"MonthName()", 16},
          {"Now()", 0},
          {"Quarter()", 6},
          {"Second()", 12},
          {"TimeStampAdd()", 13},
          {"TimeStampDiff()", 14},
          {"Week()", 7},
          {"Year()", 8}}},
    };
    return categories;
}

bool isSet(std::uint32_t mask, int bit) {
    return (mask & (std::uint32_t{1} << bit)) != 0;
}

void sortByName(std::vector<FunctionRow>& rows) {
    std::stable_sort(rows.begin(), rows.end(), [](const FunctionRow& a, const FunctionRow& b) {
        return lessNoCase(a.name, b.name);
    });
}

// A report line: the name ending in column 21, then whether it is supported.
void writeFunctionLine(std::string& report, const std::string& name, bool supported) {
    if (name.size() < 21) {
        report.append(21 - name.size(), ' ');
    }
    report += name + (supported ? " - Supported\n" : " - Not Supported\n");
}

} // namespace

void FunctionsModel::RefreshInfo() {
    const bool connected = source.isConnected();
    std::array<std::uint16_t, functionFlagCount> flags{};
    if (connected) {
        flags = source.Functions();
    }
    apiFunctions.clear();
    for (const ApiFunction& function : apiFunctionTable) {
        apiFunctions.push_back(
            {function.name, "", flags[static_cast<std::size_t>(function.number)] != 0});
    }
    sortByName(apiFunctions);

    sqlFunctions.clear();
    for (const ScalarCategory& category : scalarCategories()) {
        const std::uint32_t mask = connected ? source.GetInfoLong(category.infoType) : 0;
        for (const ScalarFunction& function : category.functions) {
            sqlFunctions.push_back({function.name, category.category, isSet(mask, function.bit)});
        }
    }
    sortByName(sqlFunctions);
}

void FunctionsModel::SortSqlFunctions(int column) {
    ascending = !ascending;
    const auto key = [column](const FunctionRow& row) -> const std::string& {
        return column == 0 ? row.name : row.category;
    };
    std::stable_sort(sqlFunctions.begin(), sqlFunctions.end(),
                     [&](const FunctionRow& a, const FunctionRow& b) {
                         return ascending ? lessNoCase(key(a), key(b)) : lessNoCase(key(b), key(a));
                     });
}

void FunctionsModel::WriteReport(std::string& report) {
    if (!source.isConnected()) {
        return;
    }
    report += "ODBC API Functions\n------------------\n";
    const auto flags = source.Functions();
    for (const ApiFunction& function : apiFunctionTable) {
        writeFunctionLine(report, function.name,
                          flags[static_cast<std::size_t>(function.number)] != 0);
    }
    for (const ScalarCategory& category : scalarCategories()) {
        report += "\n";
        report += category.reportHeading;
        const std::uint32_t mask = source.GetInfoLong(category.infoType);
        for (const ScalarFunction& function : category.functions) {
            writeFunctionLine(report, function.name, isSet(mask, function.bit));
        }
    }
    report += "\n";
}

} // namespace veltro
