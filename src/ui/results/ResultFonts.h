#pragma once

#include "app/LogicalFontConversion.h"
#include "results/GridStore.h"
#include "settings/PaneFont.h"

#include <QFont>

namespace veltro {

// Conversions between the stored font layouts and Qt fonts. Heights are in pixels of the
// screen, as the stored heights are logical units of the screen; the dots per inch turn
// points into pixels and back.

// The results pane's text font when "Result\\Font" holds nothing.
LogicalFont defaultResultFont();

// A grid's font; an empty name or a size of 0 keeps what the base font has.
QFont fontFromGridProperties(const GridFontProperties& properties, const QFont& base);
// Size in points x 10000 (the font dialog's tenths of a point x 1000).
GridFontProperties gridPropertiesFromFont(const QFont& font, int dpiY);

} // namespace veltro
