#pragma once

#include <cstdio>

namespace veltro {

class SettingsStore;
struct CommandLine;

inline constexpr int exitCompleted = 0;
inline constexpr int exitCompletedWithErrors = 1;
inline constexpr int exitFailure = 2;
inline constexpr int exitCancelled = 130;

// Runs one batch without a window: connects with the command line's connect string and the
// stored "Configure" settings, executes the file's whole text through the batch worker,
// writes every grid to the export target and the messages and status to standard error.
// Ctrl+C cancels the batch as the Cancel command does.
int runHeadless(const CommandLine& commandLine, const SettingsStore& settings);

} // namespace veltro
