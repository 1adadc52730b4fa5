#pragma once

#include "driverinfo/InfoPageModel.h"

#include <cstdint>
#include <optional>

namespace veltro {

struct TypeInfoRow;

// One data type as the page keeps it.
struct TypeRecord {
    std::string typeName;
    std::int32_t dataType = 0;
    std::int32_t precision = -1;
    std::string literalPrefix;
    std::string literalSuffix;
    std::string createParams;
    std::int32_t nullable = 0;
    std::int32_t caseSensitive = 0;
    std::int32_t searchable = 0;
    std::int32_t money = 0;
    // -1 for NULL, else 1 or 0.
    std::int32_t unsignedAttribute = -1;
    std::int32_t autoIncrement = -1;
    // -1 for NULL.
    std::int32_t minimumScale = -1;
    std::int32_t maximumScale = -1;

    static TypeRecord from(const TypeInfoRow& row);
};

// The data types the driver reports, in its order; the attributes of the selected one with
// the types its CONVERT function converts it to; and the report's four tables of all types.
class DataTypesModel : public InfoPageModel {
public:
    using InfoPageModel::InfoPageModel;

    // Reads the types again and selects the first.
    void RefreshInfo() override;
    // Asks the driver again for each of the four tables.
    void WriteReport(std::string& report) override;
    std::vector<PageField> fields() const override;

    // Shows the attributes of the first type of that name.
    void SelectType(const std::string& typeName);

    std::vector<TypeRecord> typeList;
    std::vector<std::string> conversions;

    std::string sqlType;
    std::string precision;
    std::string literalPrefixSuffix;
    std::string createParams;
    std::string nullable;
    std::string caseSensitive;
    std::string searchable;
    std::string unsignedText;
    std::string money;
    std::string autoIncrement;
    std::string minimumScale;
    std::string maximumScale;
};

} // namespace veltro
