#pragma once

#include <optional>
#include <string>

namespace veltro {

inline constexpr unsigned placementRestoreToMaximized = 2;
inline constexpr unsigned showCommandNormal = 1;
inline constexpr unsigned showCommandMinimized = 2;
inline constexpr unsigned showCommandMaximized = 3;

// The main window's placement as it is stored in "Settings"/"WindowPos".
struct WindowPlacement {
    unsigned flags = 0;
    unsigned showCommand = showCommandNormal;
    int minX = -1;
    int minY = -1;
    int maxX = -1;
    int maxY = -1;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d".
std::string formatWindowPlacement(const WindowPlacement& placement);

// Nothing unless the text holds exactly ten numbers.
std::optional<WindowPlacement> parseWindowPlacement(const std::string& text);

// The show command to start with: the requested one, except that a normal start keeps a
// stored maximised state.
unsigned startShowCommand(const WindowPlacement& stored, unsigned requested);

} // namespace veltro
