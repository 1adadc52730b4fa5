#pragma once

#include "settings/PaneFont.h"

#include <QFont>

namespace veltro {

class SettingsStore;

// The query editor's font when nothing is stored: character height 15, face "Courier".
LogicalFont defaultQueryLogicalFont();

// A stored font description as a QFont: a negative height is the pixel size of the
// characters, a positive one the cell height; weights use the same scale (700 bold).
QFont fontFromLogical(const LogicalFont& logical);
LogicalFont logicalFromFont(const QFont& font);

// The query font of "Query\\Font", or the default when nothing is stored.
QFont readQueryFont(const SettingsStore& store);
void writeQueryFont(SettingsStore& store, const QFont& font);

} // namespace veltro
