#pragma once

#include "ProgramRun.h"
#include "TestDriver.h"

#include <filesystem>
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

} // namespace veltro::test
