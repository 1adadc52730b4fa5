#include "driverinfo/SupportedSqlModel.h"

#include "driverinfo/InfoSource.h"

#include <sqlext.h>

namespace veltro {

void SupportedSqlModel::RefreshInfo() {
    if (!source.isConnected()) {
        return;
    }
    alterTable = source.GetInfoLong(SQL_ALTER_TABLE);
    columnAliases = source.SupportedInfo(SQL_COLUMN_ALIAS);
    setByCode(
        correlationNames, source.GetInfoShort(SQL_CORRELATION_NAME),
        {{0, "Not Supported"}, {1, "Supported, table names must be different"}, {2, "Supported"}});
    orderByExpressions = source.SupportedInfo(SQL_EXPRESSIONS_IN_ORDERBY);
    setByCode(groupBy, source.GetInfoShort(SQL_GROUP_BY),
              {{0, "GROUP BY Not Supported"},
               {1, "GROUP BY Equals SELECT"},
               {2, "GROUP BY Contains SELECT"},
               {3, "No Relation"}});
    likeEscape = source.SupportedInfo(SQL_LIKE_ESCAPE_CLAUSE);
    orderByInSelect = source.YesNoInfo(SQL_ORDER_BY_COLUMNS_IN_SELECT);
    const std::string joins = source.GetInfoText(SQL_OUTER_JOINS);
    for (const auto& [answer, text] : {std::pair{"N", "No"}, std::pair{"Y", "Yes"},
                                       std::pair{"P", "Partial"}, std::pair{"F", "Full"}}) {
        if (joins == answer) {
            outerJoins = text;
        }
    }
    positionedStatements = source.GetInfoLong(SQL_POSITIONED_STATEMENTS);
    subqueries = source.GetInfoLong(SQL_SUBQUERIES);
    unionSupport = source.GetInfoLong(SQL_UNION);
}

void SupportedSqlModel::WriteReport(std::string& report) {
    if (!source.isConnected()) {
        return;
    }
    report += "Supported SQL\n-------------\n";
    writeListLine(report, "  ALTER TABLE Support -", alterTable, {{" ADD", 0x1}, {"DROP", 0x2}},
                  " <none>", "\n");
    report += "       Column Aliases - " + columnAliases + "\n";
    report += "    Correlation Names - " + correlationNames + "\n";
    report += " ORDER BY Expressions - " + orderByExpressions + "\n";
    report += "GROUP BY NonAggregate - " + groupBy + "\n";
    report += "LIKE Escape Character - " + likeEscape + "\n";
    report += "   ORDER BY in SELECT - " + orderByInSelect + "\n";
    report += "   Outer Join Support - " + outerJoins + "\n";
    writeListLine(report, "Positioned Statements -", positionedStatements,
                  {{" Delete", 0x1}, {"Update", 0x2}, {"Select for Update", 0x4}}, " <none>", "\n");
    writeListLine(report, "     Subquery Support -", subqueries,
                  {{" Correlated", 0x10},
                   {"Comparison", 0x1},
                   {"EXISTS", 0x2},
                   {"IN", 0x4},
                   {"Quantified", 0x8}},
                  "<none>", "\n");
    writeListLine(report, "        UNION Support -", unionSupport,
                  {{" UNION", 0x1}, {"UNION with ALL", 0x2}}, "<none>", "\n\n");
}

std::vector<PageField> SupportedSqlModel::fields() const {
    return {
        {"Column Aliases:", &columnAliases},
        {"Correlation Names:", &correlationNames},
        {"Expressions in ORDER BY:", &orderByExpressions},
        {"GROUP BY and Non-Aggregated Columns:", &groupBy},
        {"LIKE Escape Character:", &likeEscape},
        {"ORDER BY Columns Must Be In SELECT:", &orderByInSelect},
        {"Outer Join Support:", &outerJoins},
    };
}

std::vector<PageCheckGroup> SupportedSqlModel::checkGroups() const {
    return {
        checkGroup("ALTER TABLE support:", alterTable, {{"ADD Column", 0x1}, {"DROP Column", 0x2}}),
        checkGroup("Positioned Statements:", positionedStatements,
                   {{"Delete", 0x1}, {"Update", 0x2}, {"Select for Update", 0x4}}),
        checkGroup("Subquery Support:", subqueries,
                   {{"Correlated", 0x10},
                    {"Comparison", 0x1},
                    {"EXISTS", 0x2},
                    {"IN", 0x4},
                    {"Quantified", 0x8}}),
        checkGroup("UNION Support:", unionSupport, {{"UNION", 0x1}, {"UNION with ALL", 0x2}}),
    };
}

} // namespace veltro
