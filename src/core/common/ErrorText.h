#pragma once

#include <exception>
#include <string>

namespace veltro {

inline constexpr const char* outOfMemorySessionText = "Out-of-Memory.";
inline constexpr const char* outOfMemoryDialogText = "Out-of-memory.";
inline constexpr const char* genericErrorText = "Errors occurred.";

// The text a user is shown for a failure caught at the top of an operation: a database
// error's display text, the out-of-memory text, an application error's own text (at most
// 254 characters), and "Errors occurred." for anything else or an empty text.
std::string errorTextFor(std::exception_ptr failure,
                         const char* outOfMemoryText = outOfMemorySessionText);

} // namespace veltro
