#pragma once

#include <string>

namespace veltro {

// What the connected driver is and can do, read once when the connection opens and fixed
// until the next connect.
struct SessionCapabilities {
    std::string dbmsName;
    std::string dataSourceName;
    bool isSqlServerFamily = false;
    bool isJetDriver = false;
    bool supportsMultipleResults = false;
    bool supportsCancel = false;
    bool supportsRowCount = false;
};

} // namespace veltro
