#pragma once

#include "driverinfo/CInfoPage.h"

namespace veltro {

class DriverInfoModel;

// Data source and driver: who the session is connected to and what the driver is.
class CDriverInfo : public CInfoPage {
    Q_OBJECT
public:
    explicit CDriverInfo(DriverInfoModel& model, QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;
};

} // namespace veltro
