#include "driverinfo/CDriverInfo.h"

#include "driverinfo/DriverInfoModel.h"

namespace veltro {

CDriverInfo::CDriverInfo(DriverInfoModel& model, QWidget* parent) : CInfoPage(model, parent) {}

void CDriverInfo::OnInitDialog() {
    layOutFieldsAndChecks(2, 1);
}

} // namespace veltro
