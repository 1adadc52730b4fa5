#pragma once

#include "ProgramRun.h"
#include "TestDriver.h"

#include "odbc/OdbcConnection.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace veltro::test {

// The test driver playing a driver whose answers reach the edges of every page of the driver
// information report, and the report it must give, CR LF line ends included.
inline std::filesystem::path driverInfoData(const std::string& name) {
    return std::filesystem::path(VELTRO_TEST_DATA_DIR) / "driverinfo" / name;
}

inline std::string edgeCaseDriver(const std::string& moreAttributes = "") {
    return testDriver("Profile=" + driverInfoData("edge-cases.ini").string() + ";" +
                      moreAttributes);
}

inline std::string expectedEdgeCaseReport() {
    return readWholeFile(driverInfoData("edge-cases-report.txt"));
}

// A connection for the driver information pages to read.
inline std::shared_ptr<OdbcConnection> openConnection(const std::string& connectString) {
    auto connection = std::make_shared<OdbcConnection>();
    EXPECT_TRUE(connection->open(connectString, nullptr));
    return connection;
}

} // namespace veltro::test
