#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltro {

// One attribute value of a connect string. Values that hold ";", "{", "}", "=" or blanks at
// either end are wrapped in braces (a "}" inside doubled), so that a password can never end
// the attribute early or name another driver.
std::string connectAttributeValue(std::string_view value);

// "DSN=name" or "Driver={name}", then UID and PWD when given, then any further text the user
// typed.
std::string buildConnectString(std::string_view dataSource, bool isDriver, std::string_view user,
                               std::string_view password, std::string_view more = {});

// The data sources and drivers the driver manager knows.
struct DataSourceEntry {
    std::string name;
    std::string description;
    bool system = false;
};
std::vector<DataSourceEntry> listDataSources();
std::vector<std::string> listDrivers();

} // namespace veltro
