#include "driverinfo/DataTypesModel.h"

#include "common/Utf8.h"
#include "driverinfo/InfoSource.h"

#include <sqlext.h>

namespace veltro {

namespace {

// An ODBC SQL type: its code, its name, the info type that holds the types its values
// convert to, and its own bit in such a conversion mask.
struct SqlType {
    std::int32_t code;
    const char* name;
    SQLUSMALLINT conversions;
    std::uint32_t bit;
};

// In the order in which conversion targets are listed.
constexpr SqlType sqlTypes[] = {
    {SQL_BIGINT, "SQL_BIGINT", SQL_CONVERT_BIGINT, SQL_CVT_BIGINT},
    {SQL_BINARY, "SQL_BINARY", SQL_CONVERT_BINARY, SQL_CVT_BINARY},
    {SQL_BIT, "SQL_BIT", SQL_CONVERT_BIT, SQL_CVT_BIT},
    {SQL_CHAR, "SQL_CHAR", SQL_CONVERT_CHAR, SQL_CVT_CHAR},
    {SQL_DATE, "SQL_DATE", SQL_CONVERT_DATE, SQL_CVT_DATE},
    {SQL_DECIMAL, "SQL_DECIMAL", SQL_CONVERT_DECIMAL, SQL_CVT_DECIMAL},
    {SQL_DOUBLE, "SQL_DOUBLE", SQL_CONVERT_DOUBLE, SQL_CVT_DOUBLE},
    {SQL_FLOAT, "SQL_FLOAT", SQL_CONVERT_FLOAT, SQL_CVT_FLOAT},
    {SQL_INTEGER, "SQL_INTEGER", SQL_CONVERT_INTEGER, SQL_CVT_INTEGER},
    {SQL_LONGVARBINARY, "SQL_LONGVARBINARY", SQL_CONVERT_LONGVARBINARY, SQL_CVT_LONGVARBINARY},
    {SQL_LONGVARCHAR, "SQL_LONGVARCHAR", SQL_CONVERT_LONGVARCHAR, SQL_CVT_LONGVARCHAR},
    {SQL_NUMERIC, "SQL_NUMERIC", SQL_CONVERT_NUMERIC, SQL_CVT_NUMERIC},
    {SQL_REAL, "SQL_REAL", SQL_CONVERT_REAL, SQL_CVT_REAL},
    {SQL_SMALLINT, "SQL_SMALLINT", SQL_CONVERT_SMALLINT, SQL_CVT_SMALLINT},
    {SQL_TIME, "SQL_TIME", SQL_CONVERT_TIME, SQL_CVT_TIME},
    {SQL_TIMESTAMP, "SQL_TIMESTAMP", SQL_CONVERT_TIMESTAMP, SQL_CVT_TIMESTAMP},
    {SQL_TINYINT, "SQL_TINYINT", SQL_CONVERT_TINYINT, SQL_CVT_TINYINT},
    {SQL_VARBINARY, "SQL_VARBINARY", SQL_CONVERT_VARBINARY, SQL_CVT_VARBINARY},
    {SQL_VARCHAR, "SQL_VARCHAR", SQL_CONVERT_VARCHAR, SQL_CVT_VARCHAR},
    // The wide-character types that every Unicode driver reports.
    {SQL_WCHAR, "SQL_WCHAR", SQL_CONVERT_WCHAR, SQL_CVT_WCHAR},
    {SQL_WLONGVARCHAR, "SQL_WLONGVARCHAR", SQL_CONVERT_WLONGVARCHAR, SQL_CVT_WLONGVARCHAR},
    {SQL_WVARCHAR, "SQL_WVARCHAR", SQL_CONVERT_WVARCHAR, SQL_CVT_WVARCHAR},
};

const SqlType* findSqlType(std::int32_t code) {
    for (const SqlType& type : sqlTypes) {
        if (type.code == code) {
            return &type;
        }
    }
    return nullptr;
}

// Padded to a width in characters, so that the columns after it stand in line.
std::string padRight(std::string text, std::size_t width) {
    const std::size_t characters = utf8Length(text);
    if (characters < width) {
        text.append(width - characters, ' ');
    }
    return text;
}

// The words for a SEARCHABLE code; none for a code ODBC does not define.
const char* searchableText(std::int32_t code) {
    switch (code) {
    case 0:
        return "No";
    case 1:
        return "Only with LIKE";
    case 2:
        return "with all except LIKE";
    case 3:
        return "Yes";
    default:
        return nullptr;
    }
}

std::string orNa(std::int32_t value) {
    return value == -1 ? "<n/a>" : std::to_string(value);
}

// The rows of one report table, from a fresh read of the types.
std::vector<TypeInfoRow> freshRows(const InfoSource& source) {
    return source.TypeInfoRows().value_or(std::vector<TypeInfoRow>{});
}

// A report line of conversion targets: a target that no longer fits within 76 characters
// starts a continuation line at column 21.
class ConversionLine {
public:
    ConversionLine(std::string& report, std::string start)
        : report(report), line(std::move(start)) {}

    void append(const char* name) {
        const std::string_view target = name;
        if (utf8Length(line) + target.size() < 76) {
            if (placed) {
                line += ',';
            }
            line += target;
        } else {
            line += '\n';
            report += line;
            line = std::string(20, ' ');
            line += target;
        }
        placed = true;
    }

    void end() {
        line += "\n\n";
        report += line;
    }

    void appendNone() { line += "<none>"; }

private:
    std::string& report;
    std::string line;
    bool placed = false;
};

} // namespace

TypeRecord TypeRecord::from(const TypeInfoRow& row) {
    const auto flag = [](const std::optional<std::int32_t>& value) {
        return value ? (*value != 0 ? 1 : 0) : -1;
    };
    TypeRecord record;
    record.typeName = row.typeName;
    record.dataType = row.dataType;
    record.precision = row.precision.value_or(-1);
    record.literalPrefix = row.literalPrefix.value_or("");
    record.literalSuffix = row.literalSuffix.value_or("");
    record.createParams = row.createParams.value_or("");
    record.nullable = row.nullable.value_or(0);
    record.caseSensitive = row.caseSensitive.value_or(0);
    record.searchable = row.searchable.value_or(0);
    record.money = row.money.value_or(0);
    record.unsignedAttribute = flag(row.unsignedAttribute);
    record.autoIncrement = flag(row.autoIncrement);
    record.minimumScale = row.minimumScale.value_or(-1);
    record.maximumScale = row.maximumScale.value_or(-1);
    return record;
}

void DataTypesModel::RefreshInfo() {
    if (!source.isConnected()) {
        return;
    }
    typeList.clear();
    for (const TypeInfoRow& row : freshRows(source)) {
        typeList.push_back(TypeRecord::from(row));
    }
    if (!typeList.empty()) {
        SelectType(typeList.front().typeName);
    }
}

void DataTypesModel::SelectType(const std::string& typeName) {
    if (typeList.empty()) {
        sqlType = "<n/a>";
        return;
    }
    const TypeRecord* record = nullptr;
    for (const TypeRecord& candidate : typeList) {
        if (candidate.typeName == typeName) {
            record = &candidate;
            break;
        }
    }
    if (record == nullptr) {
        sqlType = "<n/a>?";
        return;
    }
    std::uint32_t mask = 0;
    if (const SqlType* type = findSqlType(record->dataType)) {
        sqlType = type->name;
        mask = source.GetInfoLong(type->conversions);
    } else {
        sqlType = "<new or driver-specific>";
    }
    conversions.clear();
    if (mask == 0) {
        conversions.emplace_back("<none>");
    }
    for (const SqlType& target : sqlTypes) {
        if ((mask & target.bit) != 0) {
            conversions.emplace_back(target.name);
        }
    }
    precision = orNa(record->precision);
    literalPrefixSuffix =
        (record->literalPrefix.empty() ? std::string("<n/a>") : record->literalPrefix) + "," +
        (record->literalSuffix.empty() ? std::string("<n/a>") : record->literalSuffix);
    createParams = record->createParams.empty() ? "<none>" : record->createParams;
    setByCode(nullable, record->nullable, {{0, "No"}, {1, "Yes"}, {2, "Unknown"}});
    caseSensitive = record->caseSensitive != 0 ? "Yes" : "No";
    if (const char* text = searchableText(record->searchable)) {
        searchable = text;
    }
    setByCode(unsignedText, record->unsignedAttribute, {{-1, "<n/a>"}, {1, "Yes"}, {0, "No"}});
    money = record->money != 0 ? "Yes" : "No";
    setByCode(autoIncrement, record->autoIncrement, {{-1, "<n/a>"}, {1, "Yes"}, {0, "No"}});
    minimumScale = orNa(record->minimumScale);
    maximumScale = orNa(record->maximumScale);
}

void DataTypesModel::WriteReport(std::string& report) {
    if (!source.isConnected()) {
        return;
    }
    report += "Data Types\n----------\n\n";

    report += "Native type         SQL Type          Precision   Min Scale  Max Scale\n"
              "-----------         --------          ---------   ---------  ---------\n";
    for (const TypeInfoRow& row : freshRows(source)) {
        const SqlType* type = findSqlType(row.dataType);
        report += padRight(row.typeName, 20);
        report += type != nullptr ? padRight(type->name, 18) : "<unknown type>    ";
        report +=
            row.precision ? padRight(std::to_string(*row.precision), 11) + " " : "<n/a>       ";
        report += row.minimumScale ? padRight(std::to_string(*row.minimumScale), 5) + "      "
                                   : "<n/a>      ";
        report += row.maximumScale ? padRight(std::to_string(*row.maximumScale), 5) + "\n"
                                   : "<n/a>      \n";
    }
    report += "\n";

    report += "Native type         Nullable  Unsigned  Auto Inc  Money  Case Sensitive\n"
              "-----------         --------  --------  --------  -----  --------------\n";
    const auto yesNoNa = [](const std::optional<std::int32_t>& value) {
        return !value ? "<n/a>     " : (*value != 0 ? "Yes       " : "No        ");
    };
    for (const TypeInfoRow& row : freshRows(source)) {
        report += padRight(row.typeName, 20);
        const std::int32_t nullableCode = row.nullable.value_or(-1);
        report +=
            nullableCode == 0 ? "No        " : (nullableCode == 1 ? "Yes       " : "Unknown   ");
        report += yesNoNa(row.unsignedAttribute);
        report += yesNoNa(row.autoIncrement);
        report += row.money.value_or(0) != 0 ? "Yes    " : "No     ";
        report += row.caseSensitive.value_or(0) != 0 ? "Yes\n" : "No\n";
    }
    report += "\n";

    report += "Native type         Lit. Prefix,Suffix  Create Params    Searchable\n"
              "-----------         ------------------  -------------    ----------\n";
    for (const TypeInfoRow& row : freshRows(source)) {
        report += padRight(row.typeName, 20);
        report += padRight(
            row.literalPrefix.value_or("<n/a>") + "," + row.literalSuffix.value_or("<n/a>"), 20);
        report += row.createParams ? padRight(*row.createParams, 17) : "<none>           ";
        // A value ODBC does not define still ends its row's line.
        const char* text = row.searchable ? searchableText(*row.searchable) : nullptr;
        report += text != nullptr ? text : "";
        report += "\n";
    }
    report += "\n";

    report += "Native type         Convert() Conversions\n"
              "-----------         ---------------------\n";
    for (const TypeInfoRow& row : freshRows(source)) {
        ConversionLine line(report, padRight(row.typeName, 20));
        const SqlType* type = findSqlType(row.dataType);
        const std::uint32_t mask = type != nullptr ? source.GetInfoLong(type->conversions) : 0;
        if (mask == 0) {
            line.appendNone();
        }
        for (const SqlType& target : sqlTypes) {
            if ((mask & target.bit) != 0) {
                line.append(target.name);
            }
        }
        line.end();
    }
    report += "\n";
    report += "\n";
}

std::vector<PageField> DataTypesModel::fields() const {
    return {
        {"SQL Type:", &sqlType},
        {"Precision:", &precision},
        {"Literal Prefix,Suffix:", &literalPrefixSuffix},
        {"Create Parameters:", &createParams},
        {"Nullable:", &nullable},
        {"Case Sensitive:", &caseSensitive},
        {"Searchable:", &searchable},
        {"Unsigned:", &unsignedText},
        {"Money:", &money},
        {"Auto Increment:", &autoIncrement},
        {"Minimum Scale:", &minimumScale},
        {"Maximum Scale:", &maximumScale},
    };
}

} // namespace veltro
