#pragma once

#include "driverinfo/InfoPageModel.h"

namespace veltro {

// Who the session is connected to and what the driver is: names, versions, conformance
// levels, the active connection and statement limits and a few yes/no capabilities.
class DriverInfoModel : public InfoPageModel {
public:
    using InfoPageModel::InfoPageModel;

    void RefreshInfo() override;
    void WriteReport(std::string& report) override;
    std::vector<PageField> fields() const override;

    std::string dataSourceName;
    std::string userName;
    std::string serverName;
    std::string dbmsName;
    std::string dbmsVersion;
    std::string driverName;
    std::string driverVersion;
    std::string driverOdbcVersion;
    std::string odbcVersion;
    std::string apiConformance;
    std::string sqlConformance;
    std::string sagCliConformance;
    std::string optionalIef;
    std::string activeConnections;
    std::string activeStatements;
    std::string multipleResultSets;
    std::string fileUsage;
    std::string readWriteStatus;
    std::string accessibleProcedures;
    std::string accessibleTables;
    std::string databaseName;
};

} // namespace veltro
