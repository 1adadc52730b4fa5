#pragma once

#include "cli/ExitStatus.h"

namespace veltro {

class SettingsStore;
struct CommandLine;

// Writes the driver information report of the command line's data source without a window,
// byte for byte as the sheet's Save As writes it, to the output target. With --diff it writes
// instead the report lines that differ from a second data source's report as a unified diff,
// and exits 0 when there are none and 1 when there are. A connection that fails exits 2.
int runDriverInfo(const CommandLine& commandLine, const SettingsStore& settings);

} // namespace veltro
