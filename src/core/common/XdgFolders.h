#pragma once

#include <string>

namespace veltro {

// Where unsaved text is kept for recovery: $XDG_STATE_HOME/veltro (~/.local/state/veltro).
std::string stateFolder();
// Where the query history lives: $XDG_DATA_HOME/veltro (~/.local/share/veltro).
std::string dataFolder();

// Creates the folder and its missing parents, the last with the mode given; throws AppError
// naming the folder and the cause.
void makeFolders(const std::string& folder, unsigned mode);

} // namespace veltro
