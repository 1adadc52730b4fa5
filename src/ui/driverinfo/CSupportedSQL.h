#pragma once

#include "driverinfo/CInfoPage.h"

namespace veltro {

class SupportedSqlModel;

// The parts of the SQL grammar that the driver supports.
class CSupportedSQL : public CInfoPage {
    Q_OBJECT
public:
    explicit CSupportedSQL(SupportedSqlModel& model, QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;
};

} // namespace veltro
