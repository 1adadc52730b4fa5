#include "session/MessageText.h"

namespace veltro {

void appendMessage(std::string& messageBuffer, std::string_view text) {
    if (!messageBuffer.empty()) {
        messageBuffer += "\n\n";
    }
    messageBuffer += text;
}

} // namespace veltro
