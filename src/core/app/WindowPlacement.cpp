#include "app/WindowPlacement.h"

#include "settings/IntegerText.h"

#include <cstdio>
#include <vector>

namespace veltro {

std::string formatWindowPlacement(const WindowPlacement& p) {
    char text[200];
    std::snprintf(text, sizeof text, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", p.flags, p.showCommand,
                  p.minX, p.minY, p.maxX, p.maxY, p.left, p.top, p.right, p.bottom);
    return text;
}

std::optional<WindowPlacement> parseWindowPlacement(const std::string& text) {
    std::vector<int> numbers;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = text.find(',', start);
        const std::size_t end = comma == std::string::npos ? text.size() : comma;
        const std::optional<int> number = parseStoredInteger(text.substr(start, end - start));
        if (!number) {
            return std::nullopt;
        }
        numbers.push_back(*number);
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    if (numbers.size() != 10 || numbers[0] < 0 || numbers[1] < 0) {
        return std::nullopt;
    }
    WindowPlacement p;
    p.flags = static_cast<unsigned>(numbers[0]);
    p.showCommand = static_cast<unsigned>(numbers[1]);
    p.minX = numbers[2];
    p.minY = numbers[3];
    p.maxX = numbers[4];
    p.maxY = numbers[5];
    p.left = numbers[6];
    p.top = numbers[7];
    p.right = numbers[8];
    p.bottom = numbers[9];
    return p;
}

unsigned startShowCommand(const WindowPlacement& stored, unsigned requested) {
    return requested == showCommandNormal ? stored.showCommand : requested;
}

} // namespace veltro
