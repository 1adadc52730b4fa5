#pragma once

#include <optional>
#include <string>

namespace veltro {

// Asks the user for a data source when a connection is opened without a connect string.
// The driver manager has no prompt of its own on Linux, so a window supplies it.
class DataSourcePrompt {
public:
    virtual ~DataSourcePrompt() = default;

    // A complete connect string, or nothing when the user cancelled.
    virtual std::optional<std::string> promptConnectString() = 0;
};

} // namespace veltro
