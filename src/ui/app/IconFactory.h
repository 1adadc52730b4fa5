#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

namespace veltro {

// Tool bar icons drawn by the program itself: a short glyph on a rounded tile.
QIcon makeToolIcon(const QString& glyph, const QColor& color);

} // namespace veltro
