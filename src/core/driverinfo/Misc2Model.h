#pragma once

#include "driverinfo/InfoPageModel.h"

#include <cstdint>

namespace veltro {

// Long data, NULL and procedure behaviour, fetch directions, SQLGetData extensions,
// positioned operations, scroll concurrency and options, and where owner and qualifier names
// may be used. Its report lines end the "Miscellaneous" section and the report.
class Misc2Model : public InfoPageModel {
public:
    using InfoPageModel::InfoPageModel;

    void RefreshInfo() override;
    void WriteReport(std::string& report) override;
    std::vector<PageField> fields() const override;
    std::vector<PageCheckGroup> checkGroups() const override;

    std::string needLongDataLength;
    std::string nonNullableColumns;
    std::string nullConcatenation;
    std::string nullCollation;
    std::string procedures;
    std::string rowUpdates;
    std::uint32_t fetchDirection = 0;
    std::uint32_t getDataExtensions = 0;
    std::uint32_t positionedOperations = 0;
    std::uint32_t scrollConcurrency = 0;
    std::uint32_t scrollOptions = 0;
    std::uint32_t ownerUsage = 0;
    std::uint32_t qualifierUsage = 0;
};

} // namespace veltro
