#pragma once

#include "driverinfo/CInfoPage.h"

class QListWidget;

namespace veltro {

class LimitsModel;

// The driver's size and count limits and the intervals of TIMESTAMPADD and TIMESTAMPDIFF.
class CLimits : public CInfoPage {
    Q_OBJECT
public:
    explicit CLimits(LimitsModel& model, QWidget* parent = nullptr);

    void RefreshInfo() override;

    QListWidget* addIntervalList() const { return addIntervals; }
    QListWidget* diffIntervalList() const { return diffIntervals; }

protected:
    void OnInitDialog() override;

private:
    void fillIntervalLists();

    LimitsModel& limits;
    QListWidget* addIntervals = nullptr;
    QListWidget* diffIntervals = nullptr;
};

} // namespace veltro
