#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace veltro {

// Opens /dev/null on each of the descriptors 0, 1 and 2 that is closed, so that no file or
// socket opened later takes that number and receives what was meant for the stream. The
// stand-ins are opened the wrong way round (standard input for writing, the outputs for
// reading), so that using a closed stream still fails as it should. Call it first of all.
void occupyClosedStandardStreams();

// Writes the whole text and flushes; false when that failed (errno tells why).
bool writeAll(std::FILE* stream, std::string_view text);

// How a run ends after a write to its output failed with this errno value: a reader that went
// away (a closed pipe, as with `| head -1`) ends it quietly with exitClosedPipe; any other
// failure is reported on standard error, where that still works, as
// "veltro: cannot write <what>: <cause>", and ends it with exitFailure.
int endAfterOutputFailure(int errnoValue, const std::string& what);

} // namespace veltro
