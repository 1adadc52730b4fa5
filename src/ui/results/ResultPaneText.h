#pragma once

#include "common/LineEnds.h"

#include <string>

namespace veltro {

class GridStore;

// The selected block of a grid as the clipboard gets it: cells joined by tabs, rows by line
// feeds, nothing after the last row.
std::string gridBlockText(const GridStore& grid);

// What the save dialog offers for the pane's text: an object's source text is saved under the
// object's name as a query file, anything else as "Untitled" text.
struct TextSaveChoice {
    bool objectSource = false;
    std::string suggestedName;
    std::string defaultExtension;
    std::string filter; // Qt's form: "Name (*.ext);;..."
};
TextSaveChoice textSaveChoice(const std::string& paneTitle, const std::string& paneText);

inline constexpr const char* landscapeRefusedText =
    "Currently printing functionality is not supported for "
    "landscape mode. Please choose portrait mode and then try "
    "again.";
inline constexpr const char* clearAllQuestionText =
    "The requested operation cannot be undone. Are you sure you wish to continue?";
inline constexpr const char* copyingText = "Copying...";
inline constexpr const char* untitledName = "Untitled";
// Part of the status texts after Clear All; this pane's own spelling of the closed state.
inline constexpr const char* connectionClosedInfoText = "CDatabase::IsOpen == FALSE";

} // namespace veltro
