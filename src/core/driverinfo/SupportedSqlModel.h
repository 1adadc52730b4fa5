#pragma once

#include "driverinfo/InfoPageModel.h"

#include <cstdint>

namespace veltro {

// Which parts of the SQL grammar the driver supports: ALTER TABLE forms, aliases and
// correlation names, ORDER BY and GROUP BY rules, LIKE escapes, outer joins, positioned
// statements, subqueries and UNION.
class SupportedSqlModel : public InfoPageModel {
public:
    using InfoPageModel::InfoPageModel;

    void RefreshInfo() override;
    void WriteReport(std::string& report) override;
    std::vector<PageField> fields() const override;
    std::vector<PageCheckGroup> checkGroups() const override;

    std::string columnAliases;
    std::string correlationNames;
    std::string orderByExpressions;
    std::string groupBy;
    std::string likeEscape;
    std::string orderByInSelect;
    std::string outerJoins;
    // The check boxes' states, as the driver's bit masks.
    std::uint32_t alterTable = 0;
    std::uint32_t positionedStatements = 0;
    std::uint32_t subqueries = 0;
    std::uint32_t unionSupport = 0;
};

} // namespace veltro
