#pragma once

#include "driverinfo/InfoPageModel.h"

#include <array>
#include <optional>

namespace veltro {

// An interval of TIMESTAMPADD or TIMESTAMPDIFF and whether the driver accepts it.
struct IntervalRow {
    const char* name;
    bool supported;
};

// The driver's size and count limits, and the intervals its TIMESTAMPADD and TIMESTAMPDIFF
// scalar functions accept.
class LimitsModel : public InfoPageModel {
public:
    using InfoPageModel::InfoPageModel;

    void RefreshInfo() override;
    // Asks the intervals again.
    void WriteReport(std::string& report) override;
    std::vector<PageField> fields() const override;

    // The nine intervals with their support, asked anew; none when the driver lacks the
    // function itself.
    std::optional<std::vector<IntervalRow>> AddIntervals() const;
    std::optional<std::vector<IntervalRow>> DiffIntervals() const;

    static constexpr std::size_t limitCount = 19;
    std::array<std::string, limitCount> limits;
};

} // namespace veltro
