#include "driverinfo/Misc2Model.h"

#include "driverinfo/InfoSource.h"

#include <sqlext.h>

namespace veltro {

namespace {

// The owner and qualifier usage lines share their items.
void writeUsageLine(std::string& report, const char* head, std::uint32_t usage) {
    writeListLine(report, head, usage,
                  {{"DML Stmt", 0x1},
                   {"Index Def", 0x8},
                   {"Priv Def", 0x10},
                   {"Proc Invoke", 0x2},
                   {"Table Def", 0x4}},
                  "<none>", "\n");
}

PageCheckGroup usageGroup(const char* label, std::uint32_t usage) {
    return checkGroup(label, usage,
                      {{"DML Stmt.", 0x1},
                       {"Proc. Invocation", 0x2},
                       {"Table Def.", 0x4},
                       {"Index Def.", 0x8},
                       {"Privilege Def.", 0x10}});
}

} // namespace

void Misc2Model::RefreshInfo() {
    if (!source.isConnected()) {
        return;
    }
    needLongDataLength = source.YesNoInfo(SQL_NEED_LONG_DATA_LEN);
    setByCode(nonNullableColumns, source.GetInfoShort(SQL_NON_NULLABLE_COLUMNS),
              {{0, "Not Supported"}, {1, "Supported"}});
    setByCode(nullConcatenation, source.GetInfoShort(SQL_CONCAT_NULL_BEHAVIOR),
              {{0, "Result is NULL"}, {1, "Result is not NULL"}});
    setByCode(nullCollation, source.GetInfoShort(SQL_NULL_COLLATION),
              {{0, "High"}, {1, "Low"}, {2, "Start"}, {4, "End"}});
    procedures = source.SupportedInfo(SQL_PROCEDURES);
    rowUpdates = source.YesNoInfo(SQL_ROW_UPDATES);
    fetchDirection = source.GetInfoLong(SQL_FETCH_DIRECTION);
    getDataExtensions = source.GetInfoLong(SQL_GETDATA_EXTENSIONS);
    positionedOperations = source.GetInfoLong(SQL_POS_OPERATIONS);
    scrollConcurrency = source.GetInfoLong(SQL_SCROLL_CONCURRENCY);
    scrollOptions = source.GetInfoLong(SQL_SCROLL_OPTIONS);
    ownerUsage = source.GetInfoLong(SQL_OWNER_USAGE);
    qualifierUsage = source.GetInfoLong(SQL_QUALIFIER_USAGE);
}

void Misc2Model::WriteReport(std::string& report) {
    if (!source.isConnected()) {
        return;
    }
    report += "    Need Long Data Length - " + needLongDataLength + "\n";
    report += "     Non-Nullable Columns - " + nonNullableColumns + "\n";
    report += "       Null Concatenation - " + nullConcatenation + "\n";
    report += "           Null Collation - " + nullCollation + "\n";
    report += "               Procedures - " + procedures + "\n";
    report += "              Row Updates - " + rowUpdates + "\n";
    writeListLine(report, "          Fetch Direction - ", fetchDirection,
                  {{"Absolute", 0x10},
                   {"Bookmark", 0x80},
                   {"First", 0x2},
                   {"Last", 0x4},
                   {"Next", 0x1},
                   {"Prior", 0x8},
                   {"Relative", 0x20}},
                  "<none>", "\n");
    writeListLine(report, "      Get Data Extensions - ", getDataExtensions,
                  {{"Any Column", 0x1}, {"Any Order", 0x2}, {"Block", 0x4}, {"Bound", 0x8}},
                  "<none>", "\n");
    writeListLine(
        report, "    Positioned Operations - ", positionedOperations,
        {{"Add", 0x10}, {"Delete", 0x8}, {"Position", 0x1}, {"Refresh", 0x2}, {"Update", 0x4}},
        "<none>", "\n");
    writeListLine(report, "       Scroll Concurrency - ", scrollConcurrency,
                  {{"Lock", 0x2}, {"Opt/RowVer", 0x4}, {"Opt/Values", 0x8}, {"Read Only", 0x1}},
                  "<none>", "\n");
    writeListLine(report, "           Scroll Options - ", scrollOptions,
                  {{"Dynamic", 0x4},
                   {"Forward Only", 0x1},
                   {"Keyset Driven", 0x2},
                   {"Mixed", 0x8},
                   {"Static", 0x10}},
                  "<none>", "\n");
    writeUsageLine(report, "              Owner Usage - ", ownerUsage);
    writeUsageLine(report, "          Qualifier Usage - ", qualifierUsage);
}

std::vector<PageField> Misc2Model::fields() const {
    return {
        {"Need Long Data Length:", &needLongDataLength},
        {"Non-Nullable Columns:", &nonNullableColumns},
        {"Null Concatenation:", &nullConcatenation},
        {"Null Collation:", &nullCollation},
        {"Procedures:", &procedures},
        {"Row Updates:", &rowUpdates},
    };
}

std::vector<PageCheckGroup> Misc2Model::checkGroups() const {
    return {
        checkGroup("Fetch Direction:", fetchDirection,
                   {{"Next", 0x1},
                    {"First", 0x2},
                    {"Last", 0x4},
                    {"Prior", 0x8},
                    {"Absolute", 0x10},
                    {"Relative", 0x20},
                    {"Bookmark", 0x80}}),
        checkGroup("GetData Extensions:", getDataExtensions,
                   {{"Any Column", 0x1}, {"Any Order", 0x2}, {"Block", 0x4}, {"Bound", 0x8}}),
        checkGroup(
            "Positioned Operations:", positionedOperations,
            {{"Position", 0x1}, {"Refresh", 0x2}, {"Update", 0x4}, {"Delete", 0x8}, {"Add", 0x10}}),
        checkGroup("Scroll Concurrency:", scrollConcurrency,
                   {{"Read Only", 0x1}, {"Lock", 0x2}, {"Opt./RowVer", 0x4}, {"Opt./Values", 0x8}}),
        checkGroup("Scroll Options:", scrollOptions,
                   {{"Forward Only", 0x1},
                    {"Keyset Driven", 0x2},
                    {"Dynamic", 0x4},
                    {"Mixed", 0x8},
                    {"Static", 0x10}}),
        usageGroup("Owner Usage:", ownerUsage),
        usageGroup("Qualifier Usage:", qualifierUsage),
    };
}

} // namespace veltro
