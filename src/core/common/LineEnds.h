#pragma once

#include <string>

namespace veltro {

// A text as a file written in text mode holds it: one CR LF per line feed.
std::string textWithCrLf(const std::string& text);

} // namespace veltro
