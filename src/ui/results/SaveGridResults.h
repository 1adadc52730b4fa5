#pragma once

namespace veltro {

class CResultView;

// Saves every grid of the pane's session (or, selection only, the selected block of the grid
// on show) as a delimited file chosen in the export dialog. Whether a file was written.
bool SaveGridResults(CResultView& pane, bool selectionOnly);

} // namespace veltro
