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

} // namespace veltro
