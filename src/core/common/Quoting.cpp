#include "common/Quoting.h"

namespace veltro {

std::string enclosedDoubling(std::string_view text, char open, char close) {
    std::string enclosed(1, open);
    enclosed.reserve(text.size() + 2);
    for (const char c : text) {
        enclosed += c;
        if (c == close) {
            enclosed += close;
        }
    }
    enclosed += close;
    return enclosed;
}

} // namespace veltro
