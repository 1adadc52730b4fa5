#pragma once

#include <string>
#include <string_view>

namespace veltro {

// Appends a text to a session's message text: texts are separated by a blank line.
void appendMessage(std::string& messageBuffer, std::string_view text);

} // namespace veltro
