#pragma once

#include "cli/ExitStatus.h"

namespace veltro {

class SettingsStore;
struct CommandLine;

// Runs one batch without a window: connects with the command line's connect string and the
// stored "Configure" settings, executes the file's whole text through the batch worker,
// writes every grid to the export target and the messages and status to standard error.
// The export target is made ready before the batch runs, so that a target that cannot be
// written stops the run before anything is executed. Ctrl+C cancels the batch as the Cancel
// command does; a second Ctrl+C or SIGTERM ends the process at once.
int runHeadless(const CommandLine& commandLine, const SettingsStore& settings);

} // namespace veltro
