#pragma once

#include "app/LogicalFontConversion.h"
#include "settings/PaneFont.h"

#include <QFont>

namespace veltro {

class SettingsStore;

// The query editor's font when nothing is stored: character height 15, face "Courier".
LogicalFont defaultQueryLogicalFont();

// The query font of "Query\\Font", or the default when nothing is stored.
QFont readQueryFont(const SettingsStore& store);
void writeQueryFont(SettingsStore& store, const QFont& font);

} // namespace veltro
