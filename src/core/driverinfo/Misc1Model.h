#pragma once

#include "driverinfo/InfoPageModel.h"

#include <cstdint>

namespace veltro {

// Transaction support, cursor behaviour at commit and rollback, isolation levels, bookmark
// persistence, lock types and static cursor sensitivity. Its report section opens the
// "Miscellaneous" section.
class Misc1Model : public InfoPageModel {
public:
    using InfoPageModel::InfoPageModel;

    void RefreshInfo() override;
    void WriteReport(std::string& report) override;
    std::vector<PageField> fields() const override;
    std::vector<PageCheckGroup> checkGroups() const override;

    std::string transactionCapabilities;
    std::string cursorCommitBehavior;
    std::string cursorRollbackBehavior;
    std::string defaultIsolation;
    std::string multipleActiveTransactions;
    std::uint32_t isolationLevels = 0;
    std::uint32_t bookmarkPersistence = 0;
    std::uint32_t lockTypes = 0;
    std::uint32_t staticSensitivity = 0;
};

} // namespace veltro
