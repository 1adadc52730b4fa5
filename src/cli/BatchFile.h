#pragma once

#include <string>

namespace veltro {

// The batch text of a run: read whole from a file, a pipe (`<(...)`, a named pipe) or, for
// "-", standard input, without a leading UTF-8 byte order mark. Throws AppError with the text
// for standard error when it cannot be read, is a folder, holds a NUL byte (the batch would
// end there) or holds nothing but white space.
std::string readBatchFile(const std::string& source);

} // namespace veltro
