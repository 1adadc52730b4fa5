#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

namespace veltro {

// The icon of the desktop's icon theme by its standard name; where the theme has none,
// a drawn one stands in: the short glyph on a rounded tile of the colour.
QIcon themedIcon(const QString& name, const QString& glyph, const QColor& color);

// The program's own icon, for its windows and the desktop.
QIcon applicationIcon();

// Makes the standard action icons reachable where the desktop names no icon theme (a
// bare X server, the offscreen platform) or names one without them.
void setUpIconTheme();

} // namespace veltro
