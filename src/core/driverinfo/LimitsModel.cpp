#include "driverinfo/LimitsModel.h"

#include "driverinfo/InfoSource.h"

#include <sqlext.h>

namespace veltro {

namespace {

enum class Rendering { longOrNone, shortOrNone, yesNo };

struct Limit {
    const char* label;
    const char* reportHead;
    SQLUSMALLINT infoType;
    Rendering rendering;
};

constexpr Limit limitTable[LimitsModel::limitCount] = {
    {"Maximum Binary Literal Length:", "Max Binary Literal Length - ", SQL_MAX_BINARY_LITERAL_LEN,
     Rendering::longOrNone},
    {"Maximum Character Literal Length:", "  Max Char Literal Length - ", SQL_MAX_CHAR_LITERAL_LEN,
     Rendering::longOrNone},
    {"Maximum Column Name Length:", "   Max Column Name Length - ", SQL_MAX_COLUMN_NAME_LEN,
     Rendering::shortOrNone},
    {"Max Number of Columns in GROUP BY:", "  Max Columns in GROUP BY - ",
     SQL_MAX_COLUMNS_IN_GROUP_BY, Rendering::shortOrNone},
    {"Max Number of Columns in Index:", "     Max Columns in Index - ", SQL_MAX_COLUMNS_IN_INDEX,
     Rendering::shortOrNone},
    {"Max Number of Columns in ORDER BY:", "  Max Columns in ORDER BY - ",
     SQL_MAX_COLUMNS_IN_ORDER_BY, Rendering::shortOrNone},
    {"Max Number of Columns in SELECT:", "    Max Columns in SELECT - ", SQL_MAX_COLUMNS_IN_SELECT,
     Rendering::shortOrNone},
    {"Max Number of Columns in Table:", "     Max Columns in Table - ", SQL_MAX_COLUMNS_IN_TABLE,
     Rendering::shortOrNone},
    {"Maximum Cursor Name Length:", "   Max Cursor Name Length - ", SQL_MAX_CURSOR_NAME_LEN,
     Rendering::shortOrNone},
    {"Maximum Index Size:", "           Max Index Size - ", SQL_MAX_INDEX_SIZE,
     Rendering::longOrNone},
    {"Maximum Owner Name Length:", "    Max Owner Name Length - ", SQL_MAX_OWNER_NAME_LEN,
     Rendering::shortOrNone},
    {"Maximum Procedure Name Length:", "Max Procedure Name Length - ", SQL_MAX_PROCEDURE_NAME_LEN,
     Rendering::shortOrNone},
    {"Maximum Qualifier Name Length:", "Max Qualifier Name Length - ", SQL_MAX_QUALIFIER_NAME_LEN,
     Rendering::shortOrNone},
    {"Maximum Row Size:", "             Max Row Size - ", SQL_MAX_ROW_SIZE, Rendering::longOrNone},
    {"Max Row Size Includes Long:", "Max Rowsize Includes Long - ", SQL_MAX_ROW_SIZE_INCLUDES_LONG,
     Rendering::yesNo},
    {"Maximum Statement Length:", "     Max Statement Length - ", SQL_MAX_STATEMENT_LEN,
     Rendering::longOrNone},
    {"Maximum Table Name Length:", "    Max Table Name Length - ", SQL_MAX_TABLE_NAME_LEN,
     Rendering::shortOrNone},
    {"Max Number of Tables in SELECT:", "     Max Tables In SELECT - ", SQL_MAX_TABLES_IN_SELECT,
     Rendering::shortOrNone},
    {"Maximum User Name Length:", "     Max User Name Length - ", SQL_MAX_USER_NAME_LEN,
     Rendering::shortOrNone},
};

constexpr MaskBit intervalTable[] = {
    {"Second Fraction", 0x1}, {"Second", 0x2}, {"Minute", 0x4},   {"Hour", 0x8},   {"Day", 0x10},
    {"Week", 0x20},           {"Month", 0x40}, {"Quarter", 0x80}, {"Year", 0x100},
};

constexpr std::uint32_t timestampAddFunction = 0x2000;
constexpr std::uint32_t timestampDiffFunction = 0x4000;

std::optional<std::vector<IntervalRow>> intervals(const InfoSource& source, std::uint32_t function,
                                                  SQLUSMALLINT intervalsType) {
    const std::uint32_t mask = source.GetInfoLong(intervalsType);
    if ((source.GetInfoLong(SQL_TIMEDATE_FUNCTIONS) & function) == 0) {
        return std::nullopt;
    }
    std::vector<IntervalRow> rows;
    for (const MaskBit& interval : intervalTable) {
        rows.push_back({interval.text, (mask & interval.bit) != 0});
    }
    return rows;
}

void writeIntervals(std::string& report, const char* title,
                    const std::optional<std::vector<IntervalRow>>& rows) {
    if (!rows) {
        report += std::string(title) + " <n/a>\n\n";
        return;
    }
    report += std::string(title) + "\n";
    bool written = false;
    for (const IntervalRow& row : *rows) {
        if (row.supported) {
            if (written) {
                report += ",";
            }
            report += row.name;
            written = true;
        }
    }
    report += "\n\n";
}

} // namespace

void LimitsModel::RefreshInfo() {
    if (!source.isConnected()) {
        return;
    }
    for (std::size_t i = 0; i < limitCount; ++i) {
        const Limit& limit = limitTable[i];
        switch (limit.rendering) {
        case Rendering::longOrNone:
            limits[i] = source.FormatLongOrNone(limit.infoType);
            break;
        case Rendering::shortOrNone:
            limits[i] = source.FormatShortOrNone(limit.infoType);
            break;
        case Rendering::yesNo:
            limits[i] = source.YesNoInfo(limit.infoType);
            break;
        }
    }
}

std::optional<std::vector<IntervalRow>> LimitsModel::AddIntervals() const {
    return intervals(source, timestampAddFunction, SQL_TIMEDATE_ADD_INTERVALS);
}

std::optional<std::vector<IntervalRow>> LimitsModel::DiffIntervals() const {
    return intervals(source, timestampDiffFunction, SQL_TIMEDATE_DIFF_INTERVALS);
}

void LimitsModel::WriteReport(std::string& report) {
    if (!source.isConnected()) {
        return;
    }
    report += "Limits\n------\n\n";
    for (std::size_t i = 0; i < limitCount; ++i) {
        report += limitTable[i].reportHead + limits[i] + "\n";
    }
    report += "\n";
    writeIntervals(report, "Timestamp Add Intervals:", AddIntervals());
    writeIntervals(report, "Timestamp Diff Intervals:", DiffIntervals());
    report += "\n";
}

std::vector<PageField> LimitsModel::fields() const {
    std::vector<PageField> shown;
    for (std::size_t i = 0; i < limitCount; ++i) {
        shown.push_back({limitTable[i].label, &limits[i]});
    }
    return shown;
}

} // namespace veltro
