#include "options/CNewConnections.h"

#include "options/ConfigureOptions.h"

namespace veltro {

CNewConnections::CNewConnections(COptionsSheet& sheet, SettingsStore& settings)
    : NumberOptionPage(sheet, settings, loginTimeoutOption, "New Connections", "Data Source",
                       "Login Timeout (secs):") {}

} // namespace veltro
