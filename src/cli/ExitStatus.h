#pragma once

namespace veltro {

// The exit status of a run from the command line.
inline constexpr int exitCompleted = 0;
inline constexpr int exitCompletedWithErrors = 1;
// --driver-info --diff: the two reports differ.
inline constexpr int exitReportsDiffer = 1;
// Usage, file, connection or output failure.
inline constexpr int exitFailure = 2;
// Ctrl+C (SIGINT).
inline constexpr int exitCancelled = 130;
// The reader of the output went away (a closed pipe), as for a process ended by SIGPIPE.
inline constexpr int exitClosedPipe = 141;
// SIGTERM.
inline constexpr int exitTerminated = 143;

} // namespace veltro
