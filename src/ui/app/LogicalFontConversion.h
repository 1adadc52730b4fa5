#pragma once

#include "settings/PaneFont.h"

#include <QFont>

#include <cstdint>

namespace veltro {

// Bits of the stored pitch-and-family byte.
inline constexpr std::uint8_t fixedPitch = 0x01;
inline constexpr std::uint8_t familyModern = 0x30; // fixed-width faces such as Courier
inline constexpr std::uint8_t defaultCharSet = 1;

// A stored font description as a QFont: a negative height is the pixel size of the
// characters, a positive one the cell height; weights use the same scale (700 bold).
QFont fontFromLogical(const LogicalFont& logical);
LogicalFont logicalFromFont(const QFont& font);

// The font as the screen draws it: the face that stands in for a missing one, in its
// upright style by its own name (a face whose upright style is not called "Regular" would
// otherwise open a font dialog on its first style, an oblique one for some).
QFont drawnFont(const QFont& requested);

} // namespace veltro
