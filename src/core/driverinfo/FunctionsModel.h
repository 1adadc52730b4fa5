#pragma once

#include "driverinfo/InfoPageModel.h"

namespace veltro {

// A function and whether the driver supports it; SQL scalar functions carry their category.
struct FunctionRow {
    std::string name;
    std::string category;
    bool supported = false;
};

// Which ODBC API functions the driver implements and which SQL scalar functions its dialect
// supports. The page lists them in name order; the report in the order of the ODBC tables.
class FunctionsModel : public InfoPageModel {
public:
    using InfoPageModel::InfoPageModel;

    // Fills both lists; without a connection every function shows as not supported.
    void RefreshInfo() override;
    // Asks the driver again.
    void WriteReport(std::string& report) override;

    // Sorts the SQL functions by the text of a column (0 function, 1 category) without regard
    // to case, in the other direction than the last sort; the first sort is descending.
    void SortSqlFunctions(int column);

    std::vector<FunctionRow> apiFunctions;
    std::vector<FunctionRow> sqlFunctions;
    bool ascending = true;
};

} // namespace veltro
