#pragma once

#include "driverinfo/CInfoPage.h"

class QTreeWidget;

namespace veltro {

class FunctionsModel;

// The ODBC API functions the driver implements and the SQL scalar functions its dialect
// supports, each with a check mark when supported. A click on a column header of the SQL
// functions sorts them by that column, the other way round each time.
class CFunctions : public CInfoPage {
    Q_OBJECT
public:
    explicit CFunctions(FunctionsModel& model, QWidget* parent = nullptr);

    // Nothing until the page is shown: the lists are all it has.
    void RefreshInfo() override;

    QTreeWidget* apiList() const { return apiFunctions; }
    QTreeWidget* sqlList() const { return sqlFunctions; }

protected:
    void OnInitDialog() override;

private:
    void fillSqlFunctions();
    void sortSqlFunctions(int column);

    FunctionsModel& functions;
    QTreeWidget* apiFunctions = nullptr;
    QTreeWidget* sqlFunctions = nullptr;
};

} // namespace veltro
