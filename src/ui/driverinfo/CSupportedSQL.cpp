#include "driverinfo/CSupportedSQL.h"

#include "driverinfo/SupportedSqlModel.h"

namespace veltro {

CSupportedSQL::CSupportedSQL(SupportedSqlModel& model, QWidget* parent)
    : CInfoPage(model, parent) {}

void CSupportedSQL::OnInitDialog() {
    layOutFieldsAndChecks(1, 4);
}

} // namespace veltro
